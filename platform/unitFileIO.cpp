#include "platform/unitFileIO.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "platform/unitErrorReason.h"
#include "platform/unitLittleEndian.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view TempInfix = ".pelbrook-";
constexpr std::size_t TempUniqueLength = 6;  // mkstemp's XXXXXX
// As many links as the system itself follows before it gives up.
constexpr int MaxLinks = 40;

std::string SystemReason(int Error) {
  return std::strerror(Error);
}

std::string NotRegularReason(mode_t Mode) {
  return S_ISDIR(Mode) ? SystemReason(EISDIR) : "Not a regular file";
}

// The file a save through Path replaces: Path itself, or the end of its chain of symbolic
// links, which need not exist yet. Empty, with errno ELOOP, for a chain without end.
fs::path FinalTarget(fs::path Path) {
  for (int Links = 0; Links <= MaxLinks; ++Links) {
    std::error_code NotALink;
    const fs::path Next = fs::read_symlink(Path, NotALink);
    if (NotALink) return Path;
    Path = Path.parent_path() / Next;  // an absolute Next replaces the whole path
  }
  errno = ELOOP;
  return {};
}

bool IsUniqueChar(char C) {
  return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

// The names the writer gives its temporary files for Name: hidden, and visible as older
// versions made them.
bool IsTemporaryOf(const std::string& Entry, const std::string& Name) {
  for (const std::string& Prefix :
       {"." + Name + std::string(TempInfix), Name + std::string(TempInfix)})
    if (Entry.size() == Prefix.size() + TempUniqueLength && Entry.starts_with(Prefix) &&
        std::all_of(Entry.begin() + std::ptrdiff_t(Prefix.size()), Entry.end(), IsUniqueChar))
      return true;
  return false;
}

// What a killed save of Name left: a save that still runs holds the lock on its file.
void RemoveStaleTemporaries(const fs::path& Folder, const std::string& Name) {
  std::error_code Error;
  for (fs::directory_iterator It(Folder.empty() ? fs::path(".") : Folder, Error), End;
       !Error && It != End; It.increment(Error)) {
    const fs::path& Entry = It->path();
    if (!IsTemporaryOf(Entry.filename().string(), Name)) continue;
    const int Fd = open(Entry.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (Fd < 0) continue;
    struct stat Info {};
    if (fstat(Fd, &Info) == 0 && S_ISREG(Info.st_mode) && flock(Fd, LOCK_EX | LOCK_NB) == 0)
      unlink(Entry.c_str());
    close(Fd);
  }
}

// Root's save leaves the file its owner's; another user's keeps at least the group where the
// user belongs to it. Where neither is allowed the file is the saver's, as any new file.
void KeepOwnerAndGroup(int Fd, const struct stat& Old) {
  if (fchown(Fd, Old.st_uid, Old.st_gid) == 0) return;
  [[maybe_unused]] const int GroupKept = fchown(Fd, uid_t(-1), Old.st_gid);
}

}  // namespace

void IgnoreFileSizeSignal() {
  std::signal(SIGXFSZ, SIG_IGN);
}

TFileReader::~TFileReader() {
  Close();
}

bool TFileReader::Fail(const std::string& Reason) {
  FFailure = Reason;
  return false;
}

bool TFileReader::Open(const std::string& Path) {
  Close();
  FPath = Path;
  FFailure.clear();
  // Looked at before it is opened: opening a pipe waits for a writer, and a device may act.
  struct stat Info {};
  if (stat(Path.c_str(), &Info) != 0) return Fail(SystemReason(errno));
  if (!S_ISREG(Info.st_mode)) {
    errno = EISDIR;
    return Fail(NotRegularReason(Info.st_mode));
  }
  // Without blocking all the same, should the path have become a pipe since.
  const int Fd = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (Fd < 0) return Fail(SystemReason(errno));
  if (fstat(Fd, &Info) != 0 || !S_ISREG(Info.st_mode)) {
    close(Fd);
    errno = EISDIR;
    return Fail(NotRegularReason(Info.st_mode));
  }
  if (fcntl(Fd, F_SETFL, 0) != 0 || !(FFile = fdopen(Fd, "rb"))) {
    const int Error = errno;
    close(Fd);
    return Fail(SystemReason(Error));
  }
  FSize = std::uint64_t(Info.st_size);
  return true;
}

void TFileReader::OpenOrThrow(const std::string& Path) {
  if (!Open(Path)) RaiseWithReason(EInOutError("Cannot open file \"" + Path + "\""), FFailure);
}

void TFileReader::Close() {
  if (FFile) std::fclose(FFile);
  FFile = nullptr;
  FSize = 0;
}

std::uint64_t TFileReader::Position() const {
  return std::uint64_t(ftello(FFile));
}

void TFileReader::Seek(std::uint64_t Position) {
  if (Position > FSize || fseeko(FFile, off_t(Position), SEEK_SET) != 0)
    RaiseWithReason(EInOutError("Seek beyond end of file"),
                    FPath + " holds only " + std::to_string(FSize) + " bytes");
}

void TFileReader::Read(void* Buffer, std::size_t Count) {
  if (ReadUpTo(Buffer, Count) != Count) RaiseReadBeyondEnd();
}

void TFileReader::RaiseReadBeyondEnd() const {
  const int Error = errno;
  RaiseWithReason(EInOutError("Read beyond end of file"),
                  FFile && std::ferror(FFile)
                      ? FPath + ": " + SystemReason(Error)
                      : FPath + " holds only " + std::to_string(FSize) + " bytes");
}

std::size_t TFileReader::ReadUpTo(void* Buffer, std::size_t Count) {
  return Count == 0 ? 0 : std::fread(Buffer, 1, Count, FFile);
}

std::uint16_t TFileReader::ReadU16() {
  std::uint8_t B[2];
  Read(B, 2);
  return GetLe16(B);
}

std::uint32_t TFileReader::ReadU32() {
  std::uint8_t B[4];
  Read(B, 4);
  return GetLe32(B);
}

TSafeFileWriter::~TSafeFileWriter() {
  Discard();
}

bool TSafeFileWriter::Fail(const std::string& Reason) {
  FFailure = Reason;
  return false;
}

bool TSafeFileWriter::Create(const std::string& Path) {
  Discard();
  FFailure.clear();
  if (Path.empty()) return Fail(SystemReason(ENOENT));
  const fs::path Target = FinalTarget(Path);
  if (Target.empty()) return Fail(SystemReason(errno));
  struct stat Old {};
  const bool Exists = stat(Target.c_str(), &Old) == 0;
  if (!Exists && errno != ENOENT) return Fail(SystemReason(errno));
  // A folder would fail the rename after the whole write, and a device or pipe would itself be
  // replaced.
  if (Exists && !S_ISREG(Old.st_mode)) return Fail(NotRegularReason(Old.st_mode));
  const fs::path Folder = Target.parent_path();
  const std::string Name = Target.filename().string();
  RemoveStaleTemporaries(Folder, Name);
  std::string Template = (Folder / ("." + Name + std::string(TempInfix) + "XXXXXX")).string();
  const int Fd = mkostemp(Template.data(), O_CLOEXEC);
  if (Fd < 0) return Fail(SystemReason(errno));
  // Held until the file is in place, so that a save of the same file meanwhile leaves it be.
  flock(Fd, LOCK_EX);
  // The new file gets the old one's owner and permissions, or the usual ones for a new file.
  mode_t Mode;
  if (Exists) {
    KeepOwnerAndGroup(Fd, Old);
    Mode = Old.st_mode & 07777;
  } else {
    const mode_t Mask = umask(0);
    umask(Mask);
    Mode = 0666 & ~Mask;
  }
  fchmod(Fd, Mode);
  FFile = fdopen(Fd, "wb");
  if (!FFile) {
    const int Error = errno;
    close(Fd);
    unlink(Template.c_str());
    return Fail(SystemReason(Error));
  }
  FPath = Path;
  FTarget = Target.string();
  FTempPath = Template;
  return true;
}

void TSafeFileWriter::CreateOrThrow(const std::string& Path) {
  if (!Create(Path)) RaiseWithReason(EInOutError("Unable to save to: " + Path), FFailure);
}

void TSafeFileWriter::RaiseFromErrno() const {
  const int Error = errno;
  RaiseWithReason(EInOutError("Unable to save to: " + FPath), SystemReason(Error));
}

void TSafeFileWriter::Write(const void* Buffer, std::size_t Count) {
  if (Count != 0 && std::fwrite(Buffer, 1, Count, FFile) != Count) RaiseFromErrno();
}

void TSafeFileWriter::WriteU16(std::uint16_t Value) {
  std::uint8_t B[2];
  PutLe16(B, Value);
  Write(B, 2);
}

void TSafeFileWriter::WriteU32(std::uint32_t Value) {
  std::uint8_t B[4];
  PutLe32(B, Value);
  Write(B, 4);
}

void TSafeFileWriter::Commit() {
  if (std::fflush(FFile) != 0 || fsync(fileno(FFile)) != 0) RaiseFromErrno();
  if (std::rename(FTempPath.c_str(), FTarget.c_str()) != 0) RaiseFromErrno();
  FTempPath.clear();
  // Closed only now, so its lock lasts until it is in place; after fsync nothing is left for
  // the close to report.
  std::fclose(FFile);
  FFile = nullptr;
}

void TSafeFileWriter::Discard() {
  if (FFile) std::fclose(FFile);
  FFile = nullptr;
  if (!FTempPath.empty()) unlink(FTempPath.c_str());
  FTempPath.clear();
}

TLargeBytes ReadWholeFile(const std::string& Path, std::uint64_t MaxSize) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  if (Reader.Size() > MaxSize) throw EInOutError("File too large: " + Path);
  TLargeBytes Bytes(std::size_t(Reader.Size()));
  Reader.Read(Bytes.data(), Bytes.size());
  return Bytes;
}

void SaveWholeFile(const std::string& Path, const void* Bytes, std::size_t Count) {
  TSafeFileWriter Writer;
  Writer.CreateOrThrow(Path);
  Writer.Write(Bytes, Count);
  Writer.Commit();
}

bool NameEndsWith(std::string_view Path, std::string_view Ending) {
  return Path.size() >= Ending.size() &&
         std::equal(
             Ending.begin(), Ending.end(), Path.end() - std::ptrdiff_t(Ending.size()),
             [](unsigned char A, unsigned char B) { return std::tolower(A) == std::tolower(B); });
}

std::string Lowercase(std::string_view Text) {
  std::string Result(Text);
  std::transform(Result.begin(), Result.end(), Result.begin(),
                 [](unsigned char C) { return char(std::tolower(C)); });
  return Result;
}
