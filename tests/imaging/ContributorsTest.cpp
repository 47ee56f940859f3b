#include <gtest/gtest.h>

#include "imaging/unitContributors.h"

namespace {

TEST(MirrorIndex, MirrorsAgainUntilInside) {
  for (int Extent = 1; Extent <= 7; ++Extent)
    for (std::int64_t K = -60; K <= 60; ++K) {
      std::int64_t M = K;
      while (M < 0 || M >= Extent) M = M < 0 ? -M : 2 * Extent - 1 - M;
      EXPECT_EQ(MirrorIndex(K, Extent), M) << K << " in " << Extent;
    }
}

}  // namespace
