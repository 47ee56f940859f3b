#pragma once
// A small tmpfs of a test's own, for a disk that fills up or turns read-only. It is mounted in a
// mount namespace private to the calling thread, so nothing outside the test sees it. Mounting
// needs root (CAP_SYS_ADMIN): where it is refused, Mounted() is false and Refusal() says why.

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

class TScratchDisk {
 public:
  TScratchDisk(const std::filesystem::path& At, std::size_t Bytes) : FAt(At) {
    std::filesystem::create_directories(At);
    const std::string Options = "size=" + std::to_string(Bytes);
    if (!PrivateMounts())
      FRefusal = std::string("a private mount namespace: ") + std::strerror(errno);
    else if (mount("tmpfs", At.c_str(), "tmpfs", 0, Options.c_str()) != 0)
      FRefusal = std::string("mounting a tmpfs: ") + std::strerror(errno);
    else
      FMounted = true;
  }
  ~TScratchDisk() {
    if (FMounted) umount2(FAt.c_str(), MNT_DETACH);
  }
  TScratchDisk(const TScratchDisk&) = delete;
  TScratchDisk& operator=(const TScratchDisk&) = delete;

  bool Mounted() const { return FMounted; }
  const std::string& Refusal() const { return FRefusal; }
  bool MakeReadOnly() const {
    return mount("tmpfs", FAt.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  // The namespace belongs to the thread that unshared it; its mounts stay out of the system's.
  static bool PrivateMounts() {
    thread_local bool Private = false;
    if (!Private)
      Private = unshare(CLONE_NEWNS) == 0 &&
                mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return Private;
  }

  std::filesystem::path FAt;
  bool FMounted = false;
  std::string FRefusal;
};
