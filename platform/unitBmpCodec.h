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
#include "platform/unitLargeBlocks.h"

// A file the reader refuses, or a bitmap the writer cannot put into a BMP file.
class EBmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFileReader;

// Files are refused before their pixels are read when the reader would use more than this.
constexpr std::uint64_t MaxBmpFileSize = std::uint64_t(1) << 30;

// The pixel format follows the file: 1 to 8 bits give pf8bit with the file's palette padded
// with black to 256 entries (indices beyond it stay as they are); 16 bits with 5-6-5 masks
// give pf16bit and plain or 5-5-5 16 bits give pf15bit, both with the file's words; every
// other file gives pf24bit. A file whose header declares an alpha channel has its pixels less
// than half opaque black, unless every alpha value in it is 0, as many writers leave it to
// mean no alpha.
std::unique_ptr<TBitmap> ReadBmp(std::span<const std::uint8_t> Bytes);
// The pixel format ReadBmp gives, from the headers alone; raises EBmpError as ReadBmp does for
// what they show.
TPixelFormat BmpPixelFormat(std::span<const std::uint8_t> Bytes);
// How many of the first bytes of a file of FileSize bytes ReadBmp uses, as far as Head (the
// file's first bytes) tells; when Head is too short to tell, a larger length to look at first.
// Raises EBmpError for what Head already shows to be no readable BMP.
std::uint64_t BmpBytesUsed(std::span<const std::uint8_t> Head, std::uint64_t FileSize);
// Where a plain 24-bit file keeps its rows, for readers that convert them as they read them:
// ReadBmp would decode them unchanged.
struct TBmpRows {
  std::uint64_t Offset;  // of the first row in the file
  std::uint64_t Stride;  // bytes from one row of the file to the next
  int Width;
  int Height;
  bool TopDown;  // the file's first row is the top row
};
// From the start of Reader's file, the bytes ReadBmp uses and no more: the headers decide how
// many. Given PlainRows, a plain 24-bit file is read only through its headers and PlainRows
// tells where its rows are; otherwise PlainRows is empty. Raises EBmpError, or EInOutError when
// the file cannot be read.
TLargeBytes ReadBmpBytes(TFileReader& Reader, std::optional<TBmpRows>* PlainRows = nullptr);
// Raises EInOutError when the file cannot be read.
std::unique_ptr<TBitmap> LoadBmpFile(const std::string& Path);

// pf8bit, pf16bit and pf24bit bitmaps of at least one pixel; others raise EBmpError.
std::vector<std::uint8_t> EncodeBmp(const TBitmap& Bitmap);
// What EncodeBmp writes before the rows of a bitmap of that form; Palette serves 8 bits. The
// rows follow bottom row first, each padded with zeros to a multiple of 4 bytes.
std::vector<std::uint8_t> EncodeBmpHeader(TPixelFormat Format, int Width, int Height,
                                          const TPalette& Palette);
// Replaces the file only once the new one is complete; raises EInOutError when it cannot.
void SaveBmpFile(const TBitmap& Bitmap, const std::string& Path);
