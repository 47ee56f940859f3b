#pragma once
// BMP files: a reader for every standard header form, depth and compression, and a writer of
// plain 8-bit, 16-bit (5-6-5) and 24-bit files.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/unitBitmap.h"

// A file the reader refuses, or a bitmap the writer cannot put into a BMP file.
class EBmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Files are refused before anything of them is read when they are larger than this.
constexpr std::uint64_t MaxBmpFileSize = std::uint64_t(1) << 30;

// The pixel format follows the file: 1 to 8 bits give pf8bit with the file's palette padded
// with black to 256 entries (indices beyond it stay as they are); 16 bits with 5-6-5 masks
// give pf16bit and plain or 5-5-5 16 bits give pf15bit, both with the file's words; every
// other file gives pf24bit.
std::unique_ptr<TBitmap> ReadBmp(std::span<const std::uint8_t> Bytes);
// Raises EInOutError when the file cannot be read.
std::unique_ptr<TBitmap> LoadBmpFile(const std::string& Path);

// Where a plain 24-bit file keeps its rows, for readers that convert them as they read them:
// ReadBmp would decode them unchanged, after the same checks. Only the headers of Bytes are
// looked at, not its pixel bytes. Raises what ReadBmp raises; nullopt for every other form.
struct TBmpRows {
  std::uint64_t Offset;  // of the first row in the file
  std::uint64_t Stride;  // bytes from one row of the file to the next
  int Width;
  int Height;
  bool TopDown;  // the file's first row is the top row
};
std::optional<TBmpRows> PlainBgrRows(std::span<const std::uint8_t> Bytes);

// pf8bit, pf16bit and pf24bit bitmaps of at least one pixel; others raise EBmpError.
std::vector<std::uint8_t> EncodeBmp(const TBitmap& Bitmap);
// What EncodeBmp writes before the rows of a bitmap of that form; Palette serves 8 bits. The
// rows follow bottom row first, each padded with zeros to a multiple of 4 bytes.
std::vector<std::uint8_t> EncodeBmpHeader(TPixelFormat Format, int Width, int Height,
                                          const TPalette& Palette);
// Replaces the file only once the new one is complete; raises EInOutError when it cannot.
void SaveBmpFile(const TBitmap& Bitmap, const std::string& Path);
