#include <gtest/gtest.h>

#include <tuple>

#include "sprites/unitT1Palette.h"

namespace {

using TEntryRow = std::tuple<int, int, int, int>;  // index, red, green, blue

class T1PaletteRow : public testing::TestWithParam<TEntryRow> {};

TEST_P(T1PaletteRow, HoldsTheGameColour) {
  const auto [Index, Red, Green, Blue] = GetParam();
  EXPECT_EQ(T1Palette[Index],
            (TPaletteEntry{std::uint8_t(Red), std::uint8_t(Green), std::uint8_t(Blue), 0}));
  EXPECT_EQ(CreateT1Palette()->Colour(std::uint8_t(Index)), MakeColour(Red, Green, Blue));
}

INSTANTIATE_TEST_SUITE_P(Rows, T1PaletteRow,
                         testing::Values(TEntryRow{0, 0, 0, 0}, TEntryRow{11, 16, 8, 8},
                                         TEntryRow{16, 40, 24, 36}, TEntryRow{64, 108, 108, 108},
                                         TEntryRow{127, 212, 52, 72}, TEntryRow{150, 128, 124, 196},
                                         TEntryRow{184, 252, 240, 12},
                                         TEntryRow{213, 176, 232, 196},
                                         TEntryRow{241, 244, 244, 236}, TEntryRow{243, 0, 0, 1}),
                         [](const auto& Info) {
                           return "Index" + std::to_string(std::get<0>(Info.param));
                         });

TEST(T1Palette, NotableEntries) {
  for (int I = 0; I < 256; ++I) {
    const TPaletteEntry& E = T1Palette[I];
    const bool White = (I >= 1 && I <= 10) || I == 242 || I >= 246;
    const bool NearBlack = I >= 243 && I <= 245;
    EXPECT_EQ(E.Red == 0 && E.Green == 0 && E.Blue == 0, I == 0) << I;
    EXPECT_EQ(E == (TPaletteEntry{252, 252, 252, 0}), White) << I;
    EXPECT_EQ(E == (TPaletteEntry{0, 0, 1, 0}), NearBlack) << I;
    EXPECT_EQ(E.Red % 4 == 0 && E.Green % 4 == 0 && E.Blue % 4 == 0, !NearBlack) << I;
    EXPECT_EQ(E.Flags, 0) << I;
  }
}

TEST(T1Palette, CreatesAFreshPaletteOfTheTable) {
  const auto First = CreateT1Palette(), Second = CreateT1Palette();
  EXPECT_NE(First.get(), Second.get());
  EXPECT_EQ(First->Entries(), T1Palette);
  EXPECT_EQ(TPalette::Version, 0x300);
  EXPECT_EQ(TPalette::NumEntries, 256);
  EXPECT_EQ(First->NearestIndex(0x202020), 16);
  EXPECT_EQ(First->NearestIndex(0), 0);
}

}  // namespace
