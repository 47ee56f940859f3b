#include "platform/unitFileIO.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/unitErrorReason.h"
#include "platform/unitLittleEndian.h"

namespace {

namespace fs = std::filesystem;

// The temporary file's name is short, so that any name the folder takes can be saved. Older
// versions put the saved file's name in it.
constexpr std::string_view TempPrefix = ".pelbrook-";
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

// The names the writer gives its temporary files, and those older versions gave them for Name,
// hidden and visible.
bool IsTemporaryOf(const std::string& Entry, const std::string& Name) {
  const std::string Ours(TempPrefix);
  for (const std::string& Prefix : {Ours, "." + Name + Ours, Name + Ours})
    if (Entry.size() == Prefix.size() + TempUniqueLength && Entry.starts_with(Prefix) &&
        std::all_of(Entry.begin() + std::ptrdiff_t(Prefix.size()), Entry.end(), IsUniqueChar))
      return true;
  return false;
}

// What killed saves left: a save that still runs holds the lock on its file.
void RemoveStaleTemporaries(const fs::path& Folder, const std::string& Name) {
  std::error_code Error;
  for (fs::directory_iterator It(Folder, Error), End; !Error && It != End; It.increment(Error)) {
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

// A temporary file beside the one saved, locked for as long as the save runs. A save that
// cleared killed saves' files may have taken it before it was locked; then another is made.
int CreateLockedTemporary(const fs::path& Folder, std::string& Name) {
  for (;;) {
    Name = (Folder / (std::string(TempPrefix) + "XXXXXX")).string();
    const int Fd = mkostemp(Name.data(), O_CLOEXEC);
    if (Fd < 0) return Fd;
    flock(Fd, LOCK_EX);  // where the system has no locks, the save goes on without
    struct stat Info {};
    if (fstat(Fd, &Info) != 0 || Info.st_nlink > 0) return Fd;
    close(Fd);
  }
}

mode_t NewFileMode() {
  const mode_t Mask = umask(0);
  umask(Mask);
  return 0666 & ~Mask;
}

bool IsRefusal(int Error) {
  return Error == EACCES || Error == EPERM;
}

std::string RefusalReason(const fs::path& Path) {
  return Path.string() + ": permission denied";
}

// The file to be saved, opened for writing: only a file the user could write in place may be
// replaced. The same file that was looked at, not what took its place since.
int OpenForWriting(const fs::path& Target, const struct stat& Old, std::string& Reason) {
  const int Fd = open(Target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (Fd < 0) {
    Reason = IsRefusal(errno) ? RefusalReason(Target) : SystemReason(errno);
    return Fd;
  }
  struct stat Now {};
  if (fstat(Fd, &Now) != 0 || Now.st_dev != Old.st_dev || Now.st_ino != Old.st_ino) {
    close(Fd);
    Reason = SystemReason(EAGAIN);
    return -1;
  }
  return Fd;
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

std::size_t TFileReader::ReadUpToAt(void* Buffer, std::size_t Count, std::uint64_t Position) const {
  std::size_t Done = 0;
  while (Done < Count) {
    const ssize_t Read = pread(fileno(FFile), static_cast<char*>(Buffer) + Done, Count - Done,
                               off_t(Position + Done));
    if (Read == 0 || (Read < 0 && errno != EINTR)) break;
    if (Read > 0) Done += std::size_t(Read);
  }
  return Done;
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
  Discard();
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
  FPath = Path;
  FTarget = Target.string();
  std::string Reason;
  if (Exists && (FInPlaceFd = OpenForWriting(Target, Old, Reason)) < 0) return Fail(Reason);
  const fs::path Folder = Target.parent_path().empty() ? fs::path(".") : Target.parent_path();
  RemoveStaleTemporaries(Folder, Target.filename().string());
  const int Fd = CreateLockedTemporary(Folder, FTempPath);
  if (Fd < 0) {
    FTempPath.clear();
    if (!Exists) return Fail(IsRefusal(errno) ? RefusalReason(Folder) : SystemReason(errno));
    if (!IsRefusal(errno)) return Fail(SystemReason(errno));
    return StageInMemory();
  }
  // A rename keeps the old file's owner, group and links only where the new file can have the
  // same owner and group and the old one has no other name; otherwise it is written in place.
  if (Exists && (Old.st_nlink > 1 || fchown(Fd, Old.st_uid, Old.st_gid) != 0)) {
    close(Fd);
    unlink(FTempPath.c_str());
    FTempPath.clear();
    return StageInMemory();
  }
  close(FInPlaceFd);
  FInPlaceFd = -1;
  fchmod(Fd, Exists ? Old.st_mode & 07777 : NewFileMode());
  FFile = fdopen(Fd, "wb");
  if (!FFile) {
    const int Error = errno;
    close(Fd);
    return Fail(SystemReason(Error));
  }
  return true;
}

bool TSafeFileWriter::StageInMemory() {
  FFile = open_memstream(&FStaged, &FStagedSize);
  return FFile ? true : Fail(SystemReason(errno));
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

void TSafeFileWriter::WriteBlocks(std::span<const iovec> Blocks) {
  if (FInPlaceFd >= 0) {  // gathered in memory, to be written in place
    for (const iovec& Block : Blocks) Write(Block.iov_base, Block.iov_len);
    return;
  }
  if (std::fflush(FFile) != 0) RaiseFromErrno();
  std::vector<iovec> Left(Blocks.begin(), Blocks.end());
  std::size_t First = 0;
  while (First < Left.size()) {
    const int Count = int(std::min<std::size_t>(Left.size() - First, IOV_MAX));
    const ssize_t Written = writev(fileno(FFile), &Left[First], Count);
    if (Written < 0) {
      if (errno == EINTR) continue;
      RaiseFromErrno();
    }
    // Past the blocks written whole, and into the one written in part.
    for (std::size_t Done = std::size_t(Written); First < Left.size(); ++First) {
      if (Done < Left[First].iov_len) {
        Left[First].iov_base = static_cast<char*>(Left[First].iov_base) + Done;
        Left[First].iov_len -= Done;
        break;
      }
      Done -= Left[First].iov_len;
    }
  }
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

void TSafeFileWriter::Flush() {
  if (std::fflush(FFile) != 0) RaiseFromErrno();
  if (FInPlaceFd < 0 && fsync(fileno(FFile)) != 0) RaiseFromErrno();
}

void TSafeFileWriter::Commit() {
  Flush();
  if (FInPlaceFd >= 0) {
    WriteInPlace();
  } else {
    if (std::rename(FTempPath.c_str(), FTarget.c_str()) != 0) RaiseFromErrno();
    FTempPath.clear();
  }
  // Closed only now, so that the temporary file's lock lasts until it is in place; after fsync
  // nothing is left for the close to report.
  Discard();
}

// The new bytes are complete in memory. What can be known to fail (the file-size limit, the
// space) is tried before the first old byte is overwritten; from then until fsync returns, a
// crash leaves old and new bytes mixed.
void TSafeFileWriter::WriteInPlace() {
  const off_t Size = off_t(FStagedSize);
  rlimit Limit{};
  if (getrlimit(RLIMIT_FSIZE, &Limit) == 0 && Limit.rlim_cur != RLIM_INFINITY &&
      rlim_t(Size) > Limit.rlim_cur) {
    errno = EFBIG;
    RaiseFromErrno();
  }
  if (Size > 0 && fallocate(FInPlaceFd, FALLOC_FL_KEEP_SIZE, 0, Size) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS)
    RaiseFromErrno();
  for (std::size_t Done = 0; Done < FStagedSize;) {
    const ssize_t Written = pwrite(FInPlaceFd, FStaged + Done, FStagedSize - Done, off_t(Done));
    if (Written < 0 && errno != EINTR) RaiseFromErrno();
    if (Written > 0) Done += std::size_t(Written);
  }
  if (ftruncate(FInPlaceFd, Size) != 0 || fsync(FInPlaceFd) != 0) RaiseFromErrno();
}

void TSafeFileWriter::Discard() {
  if (FFile) std::fclose(FFile);
  FFile = nullptr;
  std::free(FStaged);
  FStaged = nullptr;
  FStagedSize = 0;
  if (FInPlaceFd >= 0) close(FInPlaceFd);
  FInPlaceFd = -1;
  if (!FTempPath.empty()) unlink(FTempPath.c_str());
  FTempPath.clear();
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
