#pragma once
// The rows of an 8-bit PNG once inflated: each row's filter undone, and its pixels spread to
// 32-bit ARGB pixels in memory order (blue, green, red, alpha) as libpng's expansion spreads
// them.

#include <cstddef>
#include <cstdint>

enum class EPngPixels { Rgb, Rgba, GreyAlpha };

struct TPngPixelForm {
  EPngPixels Pixels = EPngPixels::Rgb;
  // An RGB picture's transparent colour (its tRNS chunk), red, green, blue.
  bool Keyed = false;
  std::uint8_t Key[3] = {};
  int PixelBytes() const;
};

// Undoes the filter of one row of Bytes bytes in place; Prior is the row above once undone
// (zeros above the first row). False for a filter type PNG does not have.
bool UnfilterPngRow(std::uint8_t Filter, std::uint8_t* Row, const std::uint8_t* Prior,
                    std::size_t Bytes, int PixelBytes);

// Count pixels of an unfiltered row as blue, green, red, alpha bytes: opaque where the picture
// has no alpha, transparent where an RGB pixel is the transparent colour.
void BgraRowOfPng(const TPngPixelForm& Form, const std::uint8_t* Row, std::uint8_t* Bgra,
                  int Count);
