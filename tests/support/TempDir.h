#pragma once
// A folder of its own for one test's files, removed with all it holds when the test ends,
// and whole-file byte helpers for checking what was written.

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class TTempDir {
 public:
  TTempDir() {
    static std::atomic<int> Counter{0};
    FPath = std::filesystem::temp_directory_path() /
            ("pelbrook-test-" + std::to_string(getpid()) + "-" + std::to_string(Counter++) + "-" +
             std::to_string(std::random_device{}()));
    std::filesystem::create_directories(FPath);
  }
  ~TTempDir() {
    std::error_code Ignored;
    std::filesystem::remove_all(FPath, Ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }
  // What the folder holds, so a test can see that nothing was left behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(FPath))
      Names.push_back(Entry.path().filename().string());
    return Names;
  }

 private:
  std::filesystem::path FPath;
};

inline void WriteBytes(const std::string& Path, const TBytes& Bytes) {
  std::ofstream(Path, std::ios::binary)
      .write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
}

inline TBytes ReadBytes(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}
