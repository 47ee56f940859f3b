#include "imaging/unitContributors.h"

#include <algorithm>
#include <cmath>

namespace {

// More entries than any memory holds; the bound also keeps every index inside 64 bits.
constexpr double MaxEntries = 0x1p58;

}  // namespace

std::int32_t MirrorIndex(std::int64_t K, int Extent) {
  // The two mirrors together repeat every 2 * Extent - 1 pixels.
  const std::int64_t Period = 2 * std::int64_t(Extent) - 1;
  std::int64_t M = K % Period;
  if (M < 0) M += Period;
  return std::int32_t(M < Extent ? M : Period - M);
}

TContributorLists::TContributorLists(float Scale, int Extent, int Count, TFilterFunction Filter,
                                     float Support) {
  // A shrinking axis stretches the filter by 1 / Scale and scales its weights down by as much.
  const bool Shrinks = Scale < 1;
  if (Shrinks && Scale == 0) throw EZeroDivide();
  const float Stretch = Shrinks ? Scale : 1.0f;
  const float Radius = Support / Stretch;
  const float FilterScale = 1.0f / Stretch;
  // Each list holds about 2R + 1 entries; rounding at its two ends can add one more.
  const double Room = 2 * double(Radius) + 1;
  if (!(std::fabs(Room) * std::max(Count, 1) <= MaxEntries))
    throw EResampleError("Filter support out of range");
  FContributors.reserve(std::size_t(Count) * std::size_t(std::max(Room, 0.0)));
  FStarts.reserve(std::size_t(Count) + 1);
  FStarts.push_back(0);
  for (int I = 0; I < Count; ++I) {
    const float Centre = float(double(I) / double(Scale));
    // These differences are exact in double for any image that fits in memory, so the
    // filter's argument is the one value rounded.
    const auto Left = std::int64_t(std::floor(double(Centre) - double(Radius)));
    const auto Right = std::int64_t(std::ceil(double(Centre) + double(Radius)));
    for (std::int64_t K = Left; K <= Right; ++K) {
      const float Distance = float((double(Centre) - double(K)) / double(FilterScale));
      const float Weight = Filter(Distance) / FilterScale;
      if (Weight != 0) FContributors.push_back({MirrorIndex(K, Extent), Weight});
    }
    FStarts.push_back(FContributors.size());
  }
}
