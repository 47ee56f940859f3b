#include "platform/unitFileStamp.h"

#include <sys/stat.h>

#include <filesystem>

namespace {

bool SamePath(const std::string& A, const std::string& B) {
  if (A == B) return true;
  std::error_code ErrorA, ErrorB;
  const std::filesystem::path CanonicalA = std::filesystem::weakly_canonical(A, ErrorA);
  const std::filesystem::path CanonicalB = std::filesystem::weakly_canonical(B, ErrorB);
  return !ErrorA && !ErrorB && CanonicalA == CanonicalB;
}

}  // namespace

std::optional<TFileStamp> FileStampOf(const std::string& Path) {
  struct stat Info {};
  if (stat(Path.c_str(), &Info) != 0) return std::nullopt;
  return TFileStamp{std::uint64_t(Info.st_dev), std::uint64_t(Info.st_ino),
                    std::uint64_t(Info.st_size), std::int64_t(Info.st_mtim.tv_sec),
                    std::int64_t(Info.st_mtim.tv_nsec)};
}

bool TKnownFile::ChangedBeforeSaveTo(const std::string& SavePath) const {
  if (!Stamp) return false;
  const std::optional<TFileStamp> Now = FileStampOf(SavePath);
  if (!Now) return false;
  const bool SameInode = Now->Device == Stamp->Device && Now->Inode == Stamp->Inode;
  return (SameInode || SamePath(SavePath, Path)) && *Now != *Stamp;
}
