#pragma once
// Scaling a bitmap into another of any size with a separable reconstruction filter: a
// horizontal pass into an intermediate image, then a vertical pass into the destination.
// Every step is fixed to the bit, so results are the same on every machine.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "platform/unitBitmap.h"

class EResampleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A scale factor of zero would divide the radius by zero.
class EZeroDivide : public EResampleError {
 public:
  EZeroDivide() : EResampleError("Floating point division by zero") {}
};

// The weight at a distance X, in source pixels, from the sampled position.
using TFilterFunction = float (*)(float X);

float BoxFilter(float X);
float TriangleFilter(float X);
float HermiteFilter(float X);
float BellFilter(float X);
float BSplineFilter(float X);
float Lanczos3Filter(float X);
float MitchellFilter(float X);

struct TFilterRow {
  std::string_view Name;
  TFilterFunction Weight;
  float Support;  // the radius beyond which Weight is zero
};

// Callers select a filter by its row: thumbnails use rows 0 and 1.
inline constexpr std::array<TFilterRow, 7> FilterTable = {{
    {"Box", BoxFilter, 0.5f},
    {"Triangle", TriangleFilter, 1.0f},
    {"Hermite", HermiteFilter, 1.0f},
    {"Bell", BellFilter, 1.5f},
    {"B-Spline", BSplineFilter, 2.0f},
    {"Lanczos3", Lanczos3Filter, 3.0f},
    {"Mitchell", MitchellFilter, 2.0f},
}};

// Fills the whole of Destination, whose size the caller has set, from Source. Source is
// converted to 24 bits in place and Destination ends with 24 bits.
void ResampleBitmap(TBitmap& Source, TBitmap& Destination, TFilterFunction Filter, float Support);
// What ResampleBitmap makes of a 5-6-5 bitmap of Width x Height Words (little-endian, as a
// sprite keeps them), without the whole picture widened first.
void ResampleWords(const std::uint8_t* Words, int Width, int Height, TBitmap& Destination,
                   TFilterFunction Filter, float Support);
