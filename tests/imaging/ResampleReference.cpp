#include "tests/imaging/ResampleReference.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct TWeight {
  int Index;
  float Weight;
};

int Mirror(std::int64_t K, int Extent) {
  while (K < 0 || K >= Extent) K = K < 0 ? -K : 2 * std::int64_t(Extent) - 1 - K;
  return int(K);
}

std::vector<std::vector<TWeight>> WeightLists(float Scale, int Extent, int Count,
                                              TFilterFunction Filter, float Support) {
  std::vector<std::vector<TWeight>> Lists{std::size_t(Count)};
  for (int I = 0; I < Count; ++I) {
    const float Centre = float(I) / Scale;
    if (Scale < 1) {
      const float Radius = Support / Scale;
      const float FilterScale = 1 / Scale;
      for (double K = std::floor(Centre - double(Radius)); K <= std::ceil(Centre + double(Radius));
           ++K) {
        const float Weight = Filter(float((Centre - K) / FilterScale)) / FilterScale;
        if (Weight != 0) Lists[std::size_t(I)].push_back({Mirror(std::int64_t(K), Extent), Weight});
      }
    } else {
      for (double K = std::floor(Centre - double(Support));
           K <= std::ceil(Centre + double(Support)); ++K) {
        const float Weight = Filter(float(Centre - K));
        if (Weight != 0) Lists[std::size_t(I)].push_back({Mirror(std::int64_t(K), Extent), Weight});
      }
    }
  }
  return Lists;
}

std::uint8_t Clamp(float Sum) {
  if (Sum > 255) return 255;
  if (Sum < 0) return 0;
  return std::uint8_t(std::nearbyint(Sum));
}

// The clamped sum over List of each weight times the channel ChannelAt gives for its index.
template <class F>
std::uint8_t WeightedSum(const std::vector<TWeight>& List, F&& ChannelAt) {
  float Sum = 0;
  for (const TWeight& W : List) Sum = std::fma(W.Weight, float(ChannelAt(W.Index)), Sum);
  return Clamp(Sum);
}

float ScaleOf(int DestinationExtent, int SourceExtent) {
  if (SourceExtent == 1) return float(DestinationExtent);
  return float(DestinationExtent - 1) / float(SourceExtent - 1);
}

std::uint8_t Channel(const TBitmap& Bitmap, int X, int Y, int C) {
  return Bitmap.ScanLine(Y)[3 * X + C];
}

}  // namespace

TBitmap ReferenceResample(const TBitmap& Source, int DestinationWidth, int DestinationHeight,
                          TFilterFunction Filter, float Support) {
  const int SourceHeight = Source.Height();
  TBitmap Intermediate(TPixelFormat::pf24bit, DestinationWidth, SourceHeight);
  const auto Columns = WeightLists(ScaleOf(DestinationWidth, Source.Width()), Source.Width(),
                                   DestinationWidth, Filter, Support);
  for (int Y = 0; Y < SourceHeight; ++Y)
    for (int I = 0; I < DestinationWidth; ++I)
      for (int C = 0; C < 3; ++C)
        Intermediate.ScanLine(Y)[3 * I + C] =
            WeightedSum(Columns[std::size_t(I)], [&](int N) { return Channel(Source, N, Y, C); });

  TBitmap Destination(TPixelFormat::pf24bit, DestinationWidth, DestinationHeight);
  const auto Rows = WeightLists(ScaleOf(DestinationHeight, SourceHeight), SourceHeight,
                                DestinationHeight, Filter, Support);
  for (int I = 0; I < DestinationWidth; ++I)
    for (int J = 0; J < DestinationHeight; ++J)
      for (int C = 0; C < 3; ++C)
        Destination.ScanLine(J)[3 * I + C] = WeightedSum(
            Rows[std::size_t(J)], [&](int N) { return Channel(Intermediate, I, N, C); });
  return Destination;
}
