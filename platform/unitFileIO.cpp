#include "platform/unitFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/unitLittleEndian.h"

namespace {

[[noreturn]] void RaiseFromErrno(const std::string& What) {
  throw EInOutError(What + ": " + std::strerror(errno));
}

}  // namespace

TFileReader::~TFileReader() {
  Close();
}

bool TFileReader::Open(const std::string& Path) {
  Close();
  FFile = std::fopen(Path.c_str(), "rb");
  if (!FFile) return false;
  struct stat Info {};
  if (fstat(fileno(FFile), &Info) != 0 || !S_ISREG(Info.st_mode)) {
    Close();
    errno = EISDIR;
    return false;
  }
  FSize = std::uint64_t(Info.st_size);
  return true;
}

void TFileReader::OpenOrThrow(const std::string& Path) {
  if (!Open(Path)) RaiseFromErrno("Cannot open file \"" + Path + "\"");
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
    throw EInOutError("Seek beyond end of file");
}

void TFileReader::Read(void* Buffer, std::size_t Count) {
  if (ReadUpTo(Buffer, Count) != Count) throw EInOutError("Read beyond end of file");
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

bool TSafeFileWriter::Create(const std::string& Path) {
  Discard();
  if (Path.empty()) return false;
  // Only a regular file is replaced: a folder would fail the rename after the whole write, and
  // a device would itself be replaced.
  struct stat Old {};
  const bool Exists = stat(Path.c_str(), &Old) == 0;
  if (Exists && !S_ISREG(Old.st_mode)) return false;
  std::vector<char> Template(Path.begin(), Path.end());
  const std::string Suffix = ".pelbrook-XXXXXX";
  Template.insert(Template.end(), Suffix.begin(), Suffix.end());
  Template.push_back('\0');
  const int Fd = mkstemp(Template.data());
  if (Fd < 0) return false;
  // The new file gets the old one's permissions, or the usual ones for a new file.
  mode_t Mode;
  if (Exists) {
    Mode = Old.st_mode & 07777;
  } else {
    const mode_t Mask = umask(0);
    umask(Mask);
    Mode = 0666 & ~Mask;
  }
  fchmod(Fd, Mode);
  FFile = fdopen(Fd, "wb");
  if (!FFile) {
    close(Fd);
    unlink(Template.data());
    return false;
  }
  FPath = Path;
  FTempPath = Template.data();
  return true;
}

void TSafeFileWriter::Write(const void* Buffer, std::size_t Count) {
  if (Count != 0 && std::fwrite(Buffer, 1, Count, FFile) != Count)
    RaiseFromErrno("Unable to write " + FPath);
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
  if (std::fflush(FFile) != 0 || fsync(fileno(FFile)) != 0)
    RaiseFromErrno("Unable to write " + FPath);
  const int Closed = std::fclose(FFile);
  FFile = nullptr;
  if (Closed != 0) RaiseFromErrno("Unable to write " + FPath);
  if (std::rename(FTempPath.c_str(), FPath.c_str()) != 0)
    RaiseFromErrno("Unable to replace " + FPath);
  FTempPath.clear();
}

void TSafeFileWriter::Discard() {
  if (FFile) std::fclose(FFile);
  FFile = nullptr;
  if (!FTempPath.empty()) unlink(FTempPath.c_str());
  FTempPath.clear();
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& Path, std::uint64_t MaxSize) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  if (Reader.Size() > MaxSize) throw EInOutError("File too large: " + Path);
  std::vector<std::uint8_t> Bytes(std::size_t(Reader.Size()));
  Reader.Read(Bytes.data(), Bytes.size());
  return Bytes;
}

void SaveWholeFile(const std::string& Path, const void* Bytes, std::size_t Count) {
  TSafeFileWriter Writer;
  errno = 0;  // a path that is no regular file is refused without a system error
  if (!Writer.Create(Path))
    throw EInOutError("Cannot create file \"" + Path + "\"" +
                      (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()));
  Writer.Write(Bytes, Count);
  Writer.Commit();
}

bool NameEndsWith(std::string_view Path, std::string_view Ending) {
  return Path.size() >= Ending.size() &&
         std::equal(
             Ending.begin(), Ending.end(), Path.end() - std::ptrdiff_t(Ending.size()),
             [](unsigned char A, unsigned char B) { return std::tolower(A) == std::tolower(B); });
}
