#pragma once
// The sprite readers take a path: each input is written to one scratch file per process.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

inline const std::string& WriteFuzzFile(const std::uint8_t* Data, std::size_t Size) {
  static const std::string Path = "/tmp/pelbrook-fuzz-" + std::to_string(getpid());
  std::FILE* File = std::fopen(Path.c_str(), "wb");
  if (File) {
    if (Size != 0) std::fwrite(Data, 1, Size, File);
    std::fclose(File);
  }
  return Path;
}
