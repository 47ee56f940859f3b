#pragma once
// File access for the sprite and bitmap formats: a reader that reports a short read as the
// platform's I/O error, and a writer that builds the new file beside the old one and puts it
// in place only when it is complete.

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFileReader {
 public:
  TFileReader() = default;
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;
  ~TFileReader();

  bool Open(const std::string& Path);
  // Raises EInOutError when the file cannot be opened.
  void OpenOrThrow(const std::string& Path);
  void Close();

  std::uint64_t Size() const { return FSize; }
  std::uint64_t Position() const;
  // Raises EInOutError for a position past the end of the file.
  void Seek(std::uint64_t Position);
  // Reads exactly Count bytes or raises EInOutError("Read beyond end of file").
  void Read(void* Buffer, std::size_t Count);
  // Reads what there is, up to Count bytes; returns how many were read.
  std::size_t ReadUpTo(void* Buffer, std::size_t Count);
  std::uint16_t ReadU16();
  std::uint32_t ReadU32();

 private:
  std::FILE* FFile = nullptr;
  std::uint64_t FSize = 0;
};

class TSafeFileWriter {
 public:
  TSafeFileWriter() = default;
  TSafeFileWriter(const TSafeFileWriter&) = delete;
  TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;
  // A writer that was not committed removes its temporary file; the old file stays.
  ~TSafeFileWriter();

  // Creates the temporary file beside Path; false when that is not possible.
  bool Create(const std::string& Path);
  // Raise EInOutError when the write fails.
  void Write(const void* Buffer, std::size_t Count);
  void WriteU16(std::uint16_t Value);
  void WriteU32(std::uint32_t Value);
  // Flushes, syncs and renames the new file over Path; raises EInOutError on failure.
  void Commit();

 private:
  void Discard();

  std::FILE* FFile = nullptr;
  std::string FPath;
  std::string FTempPath;
};

// The whole file; a file larger than MaxSize is refused before anything of it is read.
// Raises EInOutError.
std::vector<std::uint8_t> ReadWholeFile(const std::string& Path, std::uint64_t MaxSize);
// Writes the file with a TSafeFileWriter; raises EInOutError when it cannot.
void SaveWholeFile(const std::string& Path, const void* Bytes, std::size_t Count);
// Whether the file name ends in Ending, ignoring ASCII case (".SPR" ends in ".spr").
bool NameEndsWith(std::string_view Path, std::string_view Ending);
