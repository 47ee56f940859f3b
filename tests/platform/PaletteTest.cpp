#include <gtest/gtest.h>

#include <random>

#include "platform/unitPalette.h"
#include "sprites/unitT1Palette.h"
#include "tests/support/BitmapFactory.h"

namespace {

std::uint8_t BruteForceNearest(const TPaletteEntries& Entries, TColour Colour) {
  int Best = 0;
  long BestDistance = -1;
  for (int I = 0; I < 256; ++I) {
    const long R = long(Entries[I].Red) - RedOf(Colour),
               G = long(Entries[I].Green) - GreenOf(Colour),
               B = long(Entries[I].Blue) - BlueOf(Colour);
    const long Distance = R * R + G * G + B * B;
    if (BestDistance < 0 || Distance < BestDistance) {
      Best = I;
      BestDistance = Distance;
    }
  }
  return std::uint8_t(Best);
}

enum class TPaletteKind { T1, RandomWithDuplicates, T1WithOneEntryMoved };
const char* const PaletteKindNames[] = {"T1", "RandomWithDuplicates", "T1WithOneEntryMoved"};

TPaletteEntries EntriesOf(TPaletteKind Kind) {
  std::mt19937 Random(99);
  TPaletteEntries Entries =
      Kind == TPaletteKind::RandomWithDuplicates ? RandomPalette(Random)->Entries() : T1Palette;
  if (Kind == TPaletteKind::T1WithOneEntryMoved) Entries[100] = {120, 120, 120, 0};
  return Entries;
}

class PaletteNearest : public testing::TestWithParam<TPaletteKind> {
 protected:
  void SetUp() override {
    // A palette made before with other entries must not lend it its answers.
    TPalette(T1Palette).NearestIndexOf565(0x1234);
  }
};

TEST_P(PaletteNearest, EveryWordColourMatchesBruteForce) {
  const TPaletteEntries Entries = EntriesOf(GetParam());
  const TPalette Palette(Entries);
  for (int W = 0; W < 65536; ++W) {
    const TColour Colour = Word565ToColour(std::uint16_t(W));
    const std::uint8_t Expected = BruteForceNearest(Entries, Colour);
    ASSERT_EQ(Palette.NearestIndexOf565(std::uint16_t(W)), Expected) << std::hex << W;
    ASSERT_EQ(Palette.NearestIndex(Colour), Expected) << std::hex << W;
  }
}

TEST_P(PaletteNearest, Random24BitColoursMatchBruteForce) {
  const TPaletteEntries Entries = EntriesOf(GetParam());
  const TPalette Palette(Entries);
  std::mt19937 Random(5);
  std::vector<TColour> Colours(50000);
  for (TColour& Colour : Colours) Colour = Random() & 0xFFFFFF;
  for (int Pass = 0; Pass < 2; ++Pass)  // the second pass meets whatever was cached
    for (TColour Colour : Colours) {
      const std::uint8_t Expected = BruteForceNearest(Entries, Colour);
      ASSERT_EQ(Palette.NearestIndex(Colour), Expected) << std::hex << Colour;
      ASSERT_EQ(Palette.SearchNearest(Colour), Expected) << std::hex << Colour;
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, PaletteNearest,
                         testing::Values(TPaletteKind::T1, TPaletteKind::RandomWithDuplicates,
                                         TPaletteKind::T1WithOneEntryMoved),
                         [](const auto& Info) {
                           return std::string(PaletteKindNames[int(Info.param)]);
                         });

}  // namespace
