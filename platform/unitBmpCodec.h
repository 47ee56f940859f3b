#pragma once
// BMP files: a reader for every standard header form, depth and compression, and a writer of
// plain 8-bit, 16-bit (5-6-5) and 24-bit files.

#include <cstdint>
#include <memory>
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

// pf8bit, pf16bit and pf24bit bitmaps of at least one pixel; others raise EBmpError.
std::vector<std::uint8_t> EncodeBmp(const TBitmap& Bitmap);
// Replaces the file only once the new one is complete; raises EInOutError when it cannot.
void SaveBmpFile(const TBitmap& Bitmap, const std::string& Path);
