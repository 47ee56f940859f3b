#include <gtest/gtest.h>

#include <random>

#include "imaging/unitSheetPacker.h"
#include "tests/support/CaseNames.h"

namespace {

struct TPackCase {
  const char* Name;
  std::vector<TFrameSize> Frames;
};

std::vector<TFrameSize> RandomFrames(int Count, int Largest, unsigned Seed) {
  std::mt19937 Random(Seed);
  std::vector<TFrameSize> Frames;
  for (int I = 0; I < Count; ++I)
    Frames.push_back({int(Random() % Largest), int(Random() % Largest)});
  return Frames;
}

const TPackCase PackCases[] = {
    {"One", {{7, 3}}},
    {"OneWide", {{100, 1}, {2, 2}, {3, 3}, {1, 40}}},
    {"WithEmpty", {{0, 5}, {4, 4}, {5, 0}, {3, 6}}},
    {"Random", RandomFrames(300, 40, 7)},
    {"RandomLarge", RandomFrames(60, 300, 11)},
};

using TPackParam = std::tuple<TPackCase, TSheetPacking, int, bool>;

class SheetPacker : public testing::TestWithParam<TPackParam> {};

std::string PackCaseName(const testing::TestParamInfo<TPackParam>& Info) {
  const auto& [Case, Packing, Padding, PowerOfTwo] = Info.param;
  return std::string(Case.Name) + (Packing == TSheetPacking::Rows ? "Rows" : "MaxRects") +
         "Padding" + std::to_string(Padding) + (PowerOfTwo ? "Pot" : "");
}

bool IsPowerOfTwo(std::int64_t Side) {
  return Side > 0 && (Side & (Side - 1)) == 0;
}

}  // namespace

// Frames stay on the sheet, apart by the padding at least, and the sheet ends at the frames
// (or at the next power of two).
TEST_P(SheetPacker, PlacesFramesApartWithinTheSheet) {
  const auto& [Case, Packing, Padding, PowerOfTwo] = GetParam();
  const TPackedSheet Sheet = PackSheet(Case.Frames, {Packing, Padding, PowerOfTwo});
  ASSERT_EQ(Sheet.Places.size(), Case.Frames.size());
  std::int64_t Right = 1, Bottom = 1;
  for (std::size_t I = 0; I < Case.Frames.size(); ++I) {
    const TFrameSize& A = Case.Frames[I];
    const TFramePlace& P = Sheet.Places[I];
    if (A.Width == 0 || A.Height == 0) continue;
    ASSERT_GE(P.X, 0);
    ASSERT_GE(P.Y, 0);
    ASSERT_LE(P.X + A.Width, Sheet.Width) << I;
    ASSERT_LE(P.Y + A.Height, Sheet.Height) << I;
    Right = std::max(Right, P.X + A.Width);
    Bottom = std::max(Bottom, P.Y + A.Height);
    for (std::size_t J = 0; J < I; ++J) {
      const TFrameSize& B = Case.Frames[J];
      const TFramePlace& Q = Sheet.Places[J];
      if (B.Width == 0 || B.Height == 0) continue;
      const bool Apart = P.X >= Q.X + B.Width + Padding || Q.X >= P.X + A.Width + Padding ||
                         P.Y >= Q.Y + B.Height + Padding || Q.Y >= P.Y + A.Height + Padding;
      ASSERT_TRUE(Apart) << "frames " << J << " and " << I;
    }
  }
  if (PowerOfTwo) {
    EXPECT_TRUE(IsPowerOfTwo(Sheet.Width) && IsPowerOfTwo(Sheet.Height));
    EXPECT_LT(Sheet.Width, 2 * Right);
    EXPECT_LT(Sheet.Height, 2 * Bottom);
  } else {
    EXPECT_EQ(Sheet.Width, Right);
    EXPECT_EQ(Sheet.Height, Bottom);
  }
}

INSTANTIATE_TEST_SUITE_P(, SheetPacker,
                         testing::Combine(testing::ValuesIn(PackCases),
                                          testing::Values(TSheetPacking::Rows,
                                                          TSheetPacking::MaxRects),
                                          testing::Values(0, 16), testing::Bool()),
                         PackCaseName);

struct TLayoutCase {
  const char* Name;
  TSheetPacking Packing;
  int Padding;
  std::vector<TFrameSize> Frames;
  std::vector<TFramePlace> Places;
  std::int64_t Width, Height;
};

class SheetLayout : public testing::TestWithParam<TLayoutCase> {};

TEST_P(SheetLayout, PlacesFramesAsDocumented) {
  const TLayoutCase& Case = GetParam();
  const TPackedSheet Sheet = PackSheet(Case.Frames, {Case.Packing, Case.Padding, false});
  ASSERT_EQ(Sheet.Places.size(), Case.Places.size());
  for (std::size_t I = 0; I < Case.Places.size(); ++I) {
    EXPECT_EQ(Sheet.Places[I].X, Case.Places[I].X) << I;
    EXPECT_EQ(Sheet.Places[I].Y, Case.Places[I].Y) << I;
  }
  EXPECT_EQ(Sheet.Width, Case.Width);
  EXPECT_EQ(Sheet.Height, Case.Height);
}

INSTANTIATE_TEST_SUITE_P(, SheetLayout,
                         testing::Values(
                             // Rows of the square's side, in sprite order.
                             TLayoutCase{"RowsSquare",
                                         TSheetPacking::Rows,
                                         0,
                                         {{10, 10}, {10, 10}, {10, 10}, {10, 10}},
                                         {{0, 0}, {10, 0}, {0, 10}, {10, 10}},
                                         20,
                                         20},
                             // A row is as high as its highest frame; padding between, not after.
                             TLayoutCase{"RowsPadded",
                                         TSheetPacking::Rows,
                                         2,
                                         {{4, 6}, {4, 2}, {4, 4}, {4, 4}},
                                         {{0, 0}, {6, 0}, {0, 8}, {6, 8}},
                                         10,
                                         12},
                             // Tallest first; the short ones fill the room beside it.
                             TLayoutCase{"MaxRectsTallestFirst",
                                         TSheetPacking::MaxRects,
                                         0,
                                         {{2, 2}, {2, 2}, {2, 4}},
                                         {{2, 0}, {2, 2}, {0, 0}},
                                         4,
                                         4}),
                         [](const testing::TestParamInfo<TLayoutCase>& Info) {
                           return std::string(Info.param.Name);
                         });
