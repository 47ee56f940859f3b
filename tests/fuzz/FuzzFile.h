#pragma once
// The readers that take a path read each input from one file in memory per process: a file on
// disk rewritten thousands of times a second makes the disk, not the reader, the bottleneck.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

inline const std::string& WriteFuzzFile(const std::uint8_t* Data, std::size_t Size) {
  static const int Fd = memfd_create("pelbrook-fuzz", 0);
  static const std::string Path = "/proc/self/fd/" + std::to_string(Fd);
  if (Fd < 0 || ftruncate(Fd, 0) != 0 ||
      (Size != 0 && pwrite(Fd, Data, Size, 0) != static_cast<ssize_t>(Size)))
    std::abort();  // the input could not be given to the reader
  return Path;
}
