#include "imaging/resample.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "imaging/unitContributors.h"
#include "imaging/unitResamplePass.h"
#include "platform/unitPixelRows.h"

// Each formula is evaluated in double and rounded once, when it becomes the weight.

float BoxFilter(float X) {
  return X > -0.5f && X <= 0.5f ? 1.0f : 0.0f;
}

float TriangleFilter(float X) {
  const double T = std::fabs(X);
  return T < 1 ? float(1 - T) : 0.0f;
}

float HermiteFilter(float X) {
  const double T = std::fabs(X);
  return T < 1 ? float((2 * T - 3) * T * T + 1) : 0.0f;
}

float BellFilter(float X) {
  const double T = std::fabs(X);
  if (T < 0.5) return float(0.75 - T * T);
  if (T < 1.5) return float(0.5 * (T - 1.5) * (T - 1.5));
  return 0.0f;
}

float BSplineFilter(float X) {
  const double T = std::fabs(X);
  if (T < 1) return float(0.5 * T * T * T - T * T + 2.0 / 3);
  if (T < 2) return float((2 - T) * (2 - T) * (2 - T) / 6);
  return 0.0f;
}

namespace {

// The normalised sinc, with pi * U rounded to a float before its sine is taken.
double Sinc(double U) {
  if (U == 0) return 1;
  const double Angle = float(std::numbers::pi * U);
  return std::sin(Angle) / Angle;
}

}  // namespace

float Lanczos3Filter(float X) {
  const double T = std::fabs(X);
  return T < 3 ? float(Sinc(T) * Sinc(T / 3)) : 0.0f;
}

float MitchellFilter(float X) {
  const double T = std::fabs(X);
  if (T < 1) return float((7 * T * T * T - 12 * T * T + 16.0 / 3) / 6);
  if (T < 2) return float((-(7.0 / 3) * T * T * T + 12 * T * T - 20 * T + 32.0 / 3) / 6);
  return 0.0f;
}

namespace {

// Maps the first and the last source pixel onto the first and the last destination pixel.
float AxisScale(int DestinationExtent, int SourceExtent) {
  if (SourceExtent == 1) return float(DestinationExtent);
  return float(double(DestinationExtent - 1) / double(SourceExtent - 1));
}

TPixelRows RowsOf(TBitmap& Bitmap) {
  return {Bitmap.ScanLine(0), Bitmap.Height(), Bitmap.Width(), 3 * std::size_t(Bitmap.Width())};
}

// The 24-bit rows of the source from row First on: as many as the source holds ready.
using TBandSource = std::function<TPixelRows(int First)>;

void Resample(int SourceWidth, int SourceHeight, const TBandSource& BandFrom, TBitmap& Destination,
              TFilterFunction Filter, float Support) {
  const int DestinationWidth = Destination.Width();
  const int DestinationHeight = Destination.Height();
  // Transposed, so that both passes read rows and write columns: row i of it is column i of
  // the horizontal pass's result.
  TBitmap Intermediate(TPixelFormat::pf24bit, SourceHeight, DestinationWidth);
  const float XScale = AxisScale(DestinationWidth, SourceWidth);
  const float YScale = AxisScale(DestinationHeight, SourceHeight);
  Destination.SetPixelFormat(TPixelFormat::pf24bit);
  {
    const TContributorLists Columns(XScale, SourceWidth, DestinationWidth, Filter, Support);
    // Each row is filtered on its own, so a band's rows land in the band's columns.
    for (int First = 0; First < SourceHeight;) {
      const TPixelRows Band = BandFrom(First);
      TPixelRows Into = RowsOf(Intermediate);
      Into.Data += 3 * std::size_t(First);
      ResamplePass(Band, Columns, Into);
      First += Band.Rows;
    }
  }
  const TContributorLists Rows(YScale, SourceHeight, DestinationHeight, Filter, Support);
  ResamplePass(RowsOf(Intermediate), Rows, RowsOf(Destination));
}

void CheckSourceSize(int Width, int Height) {
  if (Width < 1 || Height < 1) throw EResampleError("Source bitmap too small");
}

// Rows widened from the words a band at a time: the band stays in the cache for the pass.
constexpr int WidenedBandRows = 32;

}  // namespace

void ResampleBitmap(TBitmap& Source, TBitmap& Destination, TFilterFunction Filter, float Support) {
  CheckSourceSize(Source.Width(), Source.Height());
  Source.SetPixelFormat(TPixelFormat::pf24bit);
  const TPixelRows Whole = RowsOf(Source);
  Resample(
      Source.Width(), Source.Height(), [&](int) { return Whole; }, Destination, Filter, Support);
}

void ResampleWords(const std::uint8_t* Words, int Width, int Height, TBitmap& Destination,
                   TFilterFunction Filter, float Support) {
  CheckSourceSize(Width, Height);
  const std::size_t WordRowBytes = 2 * std::size_t(Width);
  const std::size_t RowBytes = 3 * std::size_t(Width);
  std::vector<std::uint8_t> Band(RowBytes * std::size_t(std::min(Height, WidenedBandRows)));
  auto Widen = [&](int First) {
    const int Rows = std::min(Height - First, WidenedBandRows);
    for (int R = 0; R < Rows; ++R)
      Widen565Row(Words + WordRowBytes * std::size_t(First + R),
                  Band.data() + RowBytes * std::size_t(R), Width);
    // The next band's words come from memory while this band is filtered.
    const std::uint8_t* Next = Words + WordRowBytes * std::size_t(First + Rows);
    const std::size_t NextBytes =
        WordRowBytes * std::size_t(std::min(Height - First - Rows, WidenedBandRows));
    for (std::size_t Byte = 0; Byte < NextBytes; Byte += 64) __builtin_prefetch(Next + Byte);
    return TPixelRows{Band.data(), Rows, Width, RowBytes};
  };
  Resample(Width, Height, Widen, Destination, Filter, Support);
}
