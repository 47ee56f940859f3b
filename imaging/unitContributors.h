#pragma once
// The weights of one resampling axis: for each destination index, the source pixels that
// contribute to it, in the order their products are added.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/resample.h"

struct TContributor {
  std::int32_t Index;  // always inside the source
  float Weight;
};

class TContributorLists {
 public:
  // Scale is destination over source along the axis, Extent the source's length and Count
  // the destination's.
  TContributorLists(float Scale, int Extent, int Count, TFilterFunction Filter, float Support);

  int Count() const { return int(FStarts.size()) - 1; }
  std::span<const TContributor> List(int I) const {
    return {FContributors.data() + FStarts[std::size_t(I)],
            FStarts[std::size_t(I) + 1] - FStarts[std::size_t(I)]};
  }

 private:
  std::vector<TContributor> FContributors;
  std::vector<std::size_t> FStarts;  // list I is [FStarts[I], FStarts[I + 1])
};

// K mirrored into 0 .. Extent - 1: the first pixel mirrors without repeating itself, the last
// one repeats, and an index still outside after one mirror is mirrored again.
std::int32_t MirrorIndex(std::int64_t K, int Extent);
