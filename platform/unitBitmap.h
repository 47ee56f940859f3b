#pragma once
// Device bitmaps: 8-bit (palette indices), 15-bit (5-5-5 words), 16-bit (5-6-5 words) and
// 24-bit (blue, green, red bytes). Rows are stored top row first with no padding, so the raw
// pixel bits are the buffer itself.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/unitColour.h"
#include "platform/unitLargeBlocks.h"
#include "platform/unitPalette.h"

enum class TPixelFormat { pf8bit, pf15bit, pf16bit, pf24bit };

constexpr int BytesPerPixel(TPixelFormat Format) {
  return Format == TPixelFormat::pf8bit ? 1 : Format == TPixelFormat::pf24bit ? 3 : 2;
}

class EBitmapError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TBitmap {
 public:
  // Larger bitmaps are refused before anything is allocated.
  static constexpr std::uint64_t MaxPixels = std::uint64_t(1) << 32;

  TBitmap() = default;
  explicit TBitmap(TPixelFormat Format, int Width = 0, int Height = 0);
  TBitmap(const TBitmap& Other);
  TBitmap& operator=(const TBitmap& Other);
  TBitmap(TBitmap&&) noexcept = default;
  TBitmap& operator=(TBitmap&&) noexcept = default;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPixelFormat PixelFormat() const { return FFormat; }

  // Resizing clears every pixel to 0.
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  void SetSize(int Width, int Height);
  // Converts the pixels already there to the new format.
  void SetPixelFormat(TPixelFormat Format);
  // Takes the palette over; the pixel indices stay and now mean its colours.
  void SetPalette(std::unique_ptr<TPalette> Palette);
  const TPalette& Palette() const;

  // Outside the bitmap a read gives black and a write does nothing.
  TColour GetPixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColour Colour);

  // Row Y's first Count pixels, for passes over whole rows: IsBlack[X] becomes 1 where GetPixel
  // would read black and 0 elsewhere; PaintWhere stores Colour as SetPixel would wherever
  // Where[X] is not 0. Count must not exceed the width.
  void FindBlack(int Y, int Count, std::uint8_t* IsBlack) const;
  void PaintWhere(int Y, int Count, const std::uint8_t* Where, TColour Colour);

  // Copies Width x Height pixels from Source at (SourceX, SourceY) to (X, Y), clipped to both
  // bitmaps, converting colours: channels widen with Scale5To8/Scale6To8 and narrow with
  // Scale8To5/Scale8To6; into 8 bits each colour goes to its nearest palette entry.
  void CopyRect(int X, int Y, const TBitmap& Source, int SourceX, int SourceY, int Width,
                int Height);
  // The whole of Source at (0, 0).
  void Draw(const TBitmap& Source) { CopyRect(0, 0, Source, 0, 0, Source.FWidth, Source.FHeight); }

  std::size_t RawSize() const { return FPixels.size(); }
  void ReadRawBits(void* Destination) const { CopyBytes(Destination, FPixels.data(), RawSize()); }
  void WriteRawBits(const void* Source) { CopyBytes(FPixels.data(), Source, RawSize()); }
  std::uint8_t* ScanLine(int Y) { return FPixels.data() + RowOffset(Y); }
  const std::uint8_t* ScanLine(int Y) const { return FPixels.data() + RowOffset(Y); }

 private:
  static void CopyBytes(void* To, const void* From, std::size_t Count) {
    if (Count != 0) std::memcpy(To, From, Count);
  }
  std::size_t RowOffset(int Y) const {
    return std::size_t(Y) * std::size_t(FWidth) * std::size_t(BytesPerPixel(FFormat));
  }
  bool Contains(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }
  std::uint16_t Word(std::size_t I) const {
    std::uint16_t W;
    std::memcpy(&W, FPixels.data() + I * 2, 2);
    return W;
  }
  // Colour as this bitmap stores it, BytesPerPixel bytes at P.
  void StorePixel(std::uint8_t* P, TColour Colour) const;

  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FFormat = TPixelFormat::pf24bit;
  TLargeBytes FPixels;
  std::unique_ptr<TPalette> FPalette;
};

inline TColour TBitmap::GetPixel(int X, int Y) const {
  if (!Contains(X, Y)) return ColourBlack;
  const std::size_t I = std::size_t(Y) * std::size_t(FWidth) + std::size_t(X);
  switch (FFormat) {
    case TPixelFormat::pf8bit:
      return Palette().Colour(FPixels[I]);
    case TPixelFormat::pf15bit:
      return Word555ToColour(Word(I));
    case TPixelFormat::pf16bit:
      return Word565ToColour(Word(I));
    case TPixelFormat::pf24bit:
      break;
  }
  const std::uint8_t* P = FPixels.data() + I * 3;
  return MakeColour(P[2], P[1], P[0]);
}

inline void TBitmap::StorePixel(std::uint8_t* P, TColour Colour) const {
  switch (FFormat) {
    case TPixelFormat::pf8bit:
      *P = Palette().NearestIndex(Colour);
      return;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit: {
      const std::uint16_t W =
          FFormat == TPixelFormat::pf15bit ? ColourToWord555(Colour) : ColourToWord565(Colour);
      std::memcpy(P, &W, 2);
      return;
    }
    case TPixelFormat::pf24bit:
      P[0] = BlueOf(Colour);
      P[1] = GreenOf(Colour);
      P[2] = RedOf(Colour);
      return;
  }
}

inline void TBitmap::SetPixel(int X, int Y, TColour Colour) {
  if (!Contains(X, Y)) return;
  const std::size_t I = std::size_t(Y) * std::size_t(FWidth) + std::size_t(X);
  StorePixel(FPixels.data() + I * std::size_t(BytesPerPixel(FFormat)), Colour);
}
