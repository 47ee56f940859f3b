#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/unitLittleEndian.h"
#include "tests/support/TempDir.h"

// The build's snip beside the editor: 16-bit mono PCM that any player reads, 0.15 s long, loud
// at the start and silent at its end, so it never clicks.
TEST(CutterSound, IsAShortSixteenBitMonoSnip) {
  const TBytes Wave = ReadBytes(PELBROOK_CUTTER_SOUND);
  ASSERT_GT(Wave.size(), 44u);
  const std::uint8_t* P = Wave.data();
  EXPECT_EQ(std::string(P, P + 4) + std::string(P + 8, P + 16) + std::string(P + 36, P + 40),
            "RIFFWAVEfmt data");
  const std::uint32_t Rate = GetLe32(P + 24), Samples = GetLe32(P + 40) / 2;
  EXPECT_EQ((std::vector<std::uint32_t>{GetLe32(P + 4), GetLe16(P + 20), GetLe16(P + 22),
                                        GetLe32(P + 28), GetLe16(P + 34), Samples}),
            (std::vector<std::uint32_t>{std::uint32_t(Wave.size() - 8), 1, 1, Rate * 2, 16,
                                        std::uint32_t(Wave.size() - 44) / 2}));
  EXPECT_NEAR(double(Samples) / Rate, 0.15, 0.005);
  auto Level = [&](std::uint32_t I) { return std::abs(std::int16_t(GetLe16(P + 44 + 2 * I))); };
  int Peak = 0;
  for (std::uint32_t I = 0; I < Rate / 100; ++I) Peak = std::max(Peak, Level(I));
  EXPECT_GT(Peak, 16000);
  EXPECT_LT(Level(Samples - 1), 16);
}
