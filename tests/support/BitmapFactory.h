#pragma once
// Device bitmaps and palettes made up by the tests themselves.

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/unitBitmap.h"
#include "sprites/unitT1Palette.h"
#include "tests/support/SpriteFactory.h"

inline const auto AllFormats = testing::Values(TPixelFormat::pf8bit, TPixelFormat::pf15bit,
                                               TPixelFormat::pf16bit, TPixelFormat::pf24bit);

// "From8BitTo24Bit", the name of a test of a pair of formats.
inline std::string FormatPairName(
    const testing::TestParamInfo<std::tuple<TPixelFormat, TPixelFormat>>& Info) {
  const char* const Names[] = {"8Bit", "15Bit", "16Bit", "24Bit"};
  return std::string("From") + Names[int(std::get<0>(Info.param))] + "To" +
         Names[int(std::get<1>(Info.param))];
}

// An 8-bit bitmap gets the fixed palette, as every 8-bit bitmap of the program does.
inline TBitmap MakeBitmap(TPixelFormat Format, int Width, int Height) {
  TBitmap Bitmap(Format, Width, Height);
  if (Format == TPixelFormat::pf8bit) Bitmap.SetPalette(CreateT1Palette());
  return Bitmap;
}

// 256 x 256 raw words 0 to 65535, row by row.
inline TBitmap AllWordsBitmap(TPixelFormat Format) {
  TBitmap Bitmap(Format, 256, 256);
  std::vector<std::uint16_t> Words(65536);
  std::iota(Words.begin(), Words.end(), 0);
  Bitmap.WriteRawBits(Words.data());
  return Bitmap;
}

// Random entries, a quarter of them copies of others, black among them but not first.
inline std::unique_ptr<TPalette> RandomPalette(std::mt19937& Random) {
  TPaletteEntries Entries;
  for (auto& Entry : Entries)
    Entry = {std::uint8_t(Random()), std::uint8_t(Random()), std::uint8_t(Random()), 0};
  for (int I = 0; I < 64; ++I) Entries[Random() % 256] = Entries[Random() % 256];
  Entries[200] = {0, 0, 0, 0};
  return std::make_unique<TPalette>(Entries);
}

inline TBitmap RandomBitmap(TPixelFormat Format, int Width, int Height, std::mt19937& Random) {
  TBitmap Bitmap(Format, Width, Height);
  std::vector<std::uint8_t> Bytes(Bitmap.RawSize());
  for (std::size_t I = 0; I < Bytes.size(); ++I)  // bit 15 of a 5-5-5 word unused, as written
    Bytes[I] = std::uint8_t(Random() & (Format == TPixelFormat::pf15bit && I % 2 ? 0x7F : 0xFF));
  Bitmap.WriteRawBits(Bytes.data());
  if (Format == TPixelFormat::pf8bit) Bitmap.SetPalette(RandomPalette(Random));
  return Bitmap;
}

inline std::vector<std::uint8_t> RawBits(const TBitmap& Bitmap) {
  std::vector<std::uint8_t> Bytes(Bitmap.RawSize());
  Bitmap.ReadRawBits(Bytes.data());
  return Bytes;
}

// A top-down 32-bit BMP whose 124-byte header declares an alpha channel in its bit fields, as
// paint programs write pictures with erased areas; Bgra holds four bytes a pixel.
inline TBytes AlphaBmp(int Width, int Height, const TBytes& Bgra) {
  const std::uint32_t Offset = 14 + 124;
  TLeBytes Out;
  Out.U16(0x4D42).U32(Offset + std::uint32_t(Bgra.size())).U32(0).U32(Offset);
  Out.U32(124).U32(std::uint32_t(Width)).U32(std::uint32_t(-Height)).U16(1).U16(32).U32(3);
  Out.U32(std::uint32_t(Bgra.size())).U32(2835).U32(2835).U32(0).U32(0);
  Out.U32(0xFF0000).U32(0xFF00).U32(0xFF).U32(0xFF000000);
  Out.Bytes.resize(Offset, 0);
  Out.Bytes.insert(Out.Bytes.end(), Bgra.begin(), Bgra.end());
  return Out.Bytes;
}
