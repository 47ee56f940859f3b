#pragma once
// One pass of the resampler: each row of In is filtered along its length and written as a
// column of Out, so two passes scale both axes and leave the image the right way round.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "imaging/unitContributors.h"

// Rows of 24-bit pixels, three channels a pixel.
struct TPixelRows {
  std::uint8_t* Data;
  int Rows;
  int Columns;
  std::size_t Stride;  // bytes from one row to the next
  std::uint8_t* Row(int R) const { return Data + std::size_t(R) * Stride; }
};

// Pixel R of Out's row I is, channel by channel, the sum over list I of Lists of each weight
// times that channel of the pixel at its index in In's row R, added in list order and rounded
// to a float after every addition. Out has Lists.Count() rows of In.Rows pixels.
void ResamplePass(const TPixelRows& In, const TContributorLists& Lists, const TPixelRows& Out);

// The two implementations behind ResamplePass; they give the same bits.
void ResamplePassPortable(const TPixelRows& In, const TContributorLists& Lists,
                          const TPixelRows& Out);
bool ProcessorHasAvx2Fma();
void ResamplePassAvx2(const TPixelRows& In, const TContributorLists& Lists, const TPixelRows& Out);

// A sum above 255 gives 255; below 0, or not a number, 0; otherwise the nearest integer,
// ties to even.
inline std::uint8_t ClampChannel(float Sum) {
  if (Sum > 255) return 255;
  if (!(Sum >= 0)) return 0;
  return std::uint8_t(std::nearbyint(Sum));
}
