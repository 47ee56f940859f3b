#pragma once
// File access for the sprite and bitmap formats: a reader that takes only regular files and
// reports a short read as the platform's I/O error, and a writer that builds the new file beside
// the old one and puts it in place only when it is complete. Errors carry their reason nested
// (platform/unitErrorReason.h).

#include <sys/uio.h>

#include <cstdint>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unitLargeBlocks.h"

class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A write beyond the file-size limit then fails with its error, as on a full disk, instead of
// ending the process. Called once at the start of each program.
void IgnoreFileSizeSignal();

class TFileReader {
 public:
  TFileReader() = default;
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;
  ~TFileReader();

  // False for anything but a regular file, refused without blocking (a named pipe would wait
  // for a writer, a device could have no end); Failure() then says why, and errno is ENOENT
  // only when nothing is there.
  bool Open(const std::string& Path);
  // Raises EInOutError when the file cannot be opened.
  void OpenOrThrow(const std::string& Path);
  void Close();
  // Why the last Open failed, in the system's words where it has them.
  const std::string& Failure() const { return FFailure; }

  std::uint64_t Size() const { return FSize; }
  std::uint64_t Position() const;
  // Raises EInOutError for a position past the end of the file.
  void Seek(std::uint64_t Position);
  // Reads exactly Count bytes or raises EInOutError("Read beyond end of file").
  void Read(void* Buffer, std::size_t Count);
  // Reads what there is, up to Count bytes; returns how many were read.
  std::size_t ReadUpTo(void* Buffer, std::size_t Count);
  // The same from Position on, leaving the reading position where it was; threads may read
  // different parts of the file at once.
  std::size_t ReadUpToAt(void* Buffer, std::size_t Count, std::uint64_t Position) const;
  std::uint16_t ReadU16();
  std::uint32_t ReadU32();
  // The error of a read that the file cannot satisfy, naming the file.
  [[noreturn]] void RaiseReadBeyondEnd() const;

 private:
  bool Fail(const std::string& Reason);

  std::FILE* FFile = nullptr;
  std::uint64_t FSize = 0;
  std::string FPath;
  std::string FFailure;
};

// Saves through a symbolic link replace the file it points to, not the link. Only a file the
// user could write in place is replaced. The new file is hidden beside that file until complete
// and then renamed over it, taking its permissions, owner and group. Where a rename would lose
// those or the file's other hard links, or the folder cannot be written, the new bytes are
// gathered in memory and written over the old ones, then synced.
class TSafeFileWriter {
 public:
  TSafeFileWriter() = default;
  TSafeFileWriter(const TSafeFileWriter&) = delete;
  TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;
  // A writer that was not committed removes its temporary file; the old file stays.
  ~TSafeFileWriter();

  // Creates the temporary file, after removing those that killed saves of the same file left;
  // false, with Failure() saying why, when it cannot. Only a regular file is replaced.
  bool Create(const std::string& Path);
  // Raises EInOutError("Unable to save to: " + Path) when Create fails.
  void CreateOrThrow(const std::string& Path);
  const std::string& Failure() const { return FFailure; }
  // Raise EInOutError when the write fails.
  void Write(const void* Buffer, std::size_t Count);
  // The blocks one after another, as Write would write them, in as few calls of the system as
  // it takes: a file system takes one large write far faster than many small ones.
  void WriteBlocks(std::span<const iovec> Blocks);
  void WriteU16(std::uint16_t Value);
  void WriteU32(std::uint32_t Value);
  // Writes out what is buffered and syncs it, so that what can fail of the bytes has failed;
  // raises EInOutError on failure. For files that must be replaced together.
  void Flush();
  // Flushes, syncs and renames the new file over the old one, or writes it in place; raises
  // EInOutError on failure.
  void Commit();

 private:
  bool Fail(const std::string& Reason);
  bool StageInMemory();
  [[noreturn]] void RaiseFromErrno() const;
  void WriteInPlace();
  void Discard();

  std::FILE* FFile = nullptr;
  int FInPlaceFd = -1;  // the old file, while it may have to be written in place
  char* FStaged = nullptr;
  std::size_t FStagedSize = 0;
  std::string FPath;    // as the caller named it, for messages
  std::string FTarget;  // the file replaced
  std::string FTempPath;
  std::string FFailure;
};

// Writes the file with a TSafeFileWriter; raises EInOutError when it cannot.
void SaveWholeFile(const std::string& Path, const void* Bytes, std::size_t Count);
// Whether the file name ends in Ending, ignoring ASCII case (".SPR" ends in ".spr").
bool NameEndsWith(std::string_view Path, std::string_view Ending);
// Text with its ASCII letters in lower case, as names are compared.
std::string Lowercase(std::string_view Text);
