// The grid cutter's core: which cells a grid takes from a sheet, in which order, and the cut
// that puts them in the sheet's place.

#include <gtest/gtest.h>

#include <climits>

#include "imaging/unitGridCut.h"
#include "imaging/unitSheetCut.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SheetArt.h"

namespace {

constexpr auto ByName = [](const auto& Info) { return CaseName(Info.param.Name); };

// "l,t-r,b" for each cell, in order, separated by spaces.
std::string CellsText(const std::vector<TCutBox>& Cells) {
  std::string Text;
  for (const TCutBox& Cell : Cells)
    Text += (Text.empty() ? "" : " ") + std::to_string(Cell.Left) + "," + std::to_string(Cell.Top) +
            "-" + std::to_string(Cell.Right) + "," + std::to_string(Cell.Bottom);
  return Text;
}

// A sheet of Width x Height pixels, none of them black.
TArt Solid(int Width, int Height) {
  return TArt(std::size_t(Height), std::string(std::size_t(Width), 'a'));
}

struct TGridCase {
  const char* Name;
  TArt Art;
  TGridSpec Spec;
  std::string Cells;
  std::int64_t EmptyCells = 0;
};

class GridCells : public testing::TestWithParam<TGridCase> {};

TEST_P(GridCells, AreTheWholeCellsInRowOrder) {
  const TGridCase& Case = GetParam();
  const TGridPlan Plan = PlanGrid(*DrawSheet(Case.Art), Case.Spec, TS16File::MaxSprites);
  EXPECT_EQ(CellsText(Plan.Cells), Case.Cells);
  EXPECT_EQ(Plan.EmptyCells, Case.EmptyCells);
  EXPECT_FALSE(Plan.OverLimit);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, GridCells,
    testing::Values(
        TGridCase{"ExactFit", Solid(4, 4), {2, 2, 0, 0}, "0,0-1,1 2,0-3,1 0,2-1,3 2,2-3,3"},
        TGridCase{
            "PartialCellsAtRightAndBottomLeftOut", Solid(5, 3), {2, 2, 0, 0}, "0,0-1,1 2,0-3,1"},
        TGridCase{"MarginFromTheTopLeft", Solid(5, 3), {2, 2, 1, 0}, "1,1-2,2 3,1-4,2"},
        TGridCase{
            "SpacingBetweenCells", Solid(5, 5), {2, 2, 0, 1}, "0,0-1,1 3,0-4,1 0,3-1,4 3,3-4,4"},
        TGridCase{"MarginAndSpacing", Solid(8, 4), {2, 1, 1, 1}, "1,1-2,1 4,1-5,1 1,3-2,3 4,3-5,3"},
        TGridCase{"CellWiderThanSheet", Solid(3, 3), {4, 1, 0, 0}, ""},
        TGridCase{"MarginPastSheet", Solid(3, 3), {1, 1, 3, 0}, ""},
        TGridCase{
            "HugeSpacingDoesNotWrapIntoMoreCells", Solid(3, 2), {1, 1, 0, INT_MAX}, "0,0-0,0"},
        TGridCase{"HugeMarginDoesNotWrapIntoAFit", Solid(3, 2), {1, 1, INT_MAX, 0}, ""},
        TGridCase{"EmptySheet", {}, {1, 1, 0, 0}, ""},
        TGridCase{"BlackCellsLeftOut", {"00a0", "0000"}, {2, 2, 0, 0, true}, "2,0-3,1", 1},
        TGridCase{"BlackCellsKept", {"00a0", "0000"}, {2, 2, 0, 0, false}, "0,0-1,1 2,0-3,1"},
        // Only the cells count: black in the margin or spacing leaves no cell out.
        TGridCase{"CellBlackOnlyAroundIt", {"000", "0a0", "000"}, {1, 1, 1, 1, true}, "1,1-1,1"}),
    ByName);

TEST(GridPlan, StopsOnePastTheLimitWithoutVisitingTheRest) {
  const TGridPlan Plan = PlanGrid(*DrawSheet(Solid(40, 40)), {1, 1, 0, 0}, 3);
  EXPECT_TRUE(Plan.OverLimit);
  EXPECT_EQ(CellsText(Plan.Cells), "0,0-0,0 1,0-1,0 2,0-2,0 3,0-3,0");
}

struct TSpecCase {
  const char* Name;
  TGridSpec Spec;
};

class GridSpecs : public testing::TestWithParam<TSpecCase> {};

TEST_P(GridSpecs, OutsideTheirBoundsAreRefused) {
  EXPECT_THROW(PlanGrid(*DrawSheet(Solid(4, 4)), GetParam().Spec, 10), ESpriteError);
}

INSTANTIATE_TEST_SUITE_P(Bounds, GridSpecs,
                         testing::Values(TSpecCase{"ZeroWidth", {0, 1, 0, 0}},
                                         TSpecCase{"ZeroHeight", {1, 0, 0, 0}},
                                         TSpecCase{"NegativeMargin", {1, 1, -1, 0}},
                                         TSpecCase{"NegativeSpacing", {1, 1, 0, INT_MIN}}),
                         ByName);

struct TTextCase {
  const char* Name;
  TArt Art;
  TGridSpec Spec;
  int Limit;
  std::string Text;
};

class GridPlanTexts : public testing::TestWithParam<TTextCase> {};

TEST_P(GridPlanTexts, SayWhatTheCutWillMake) {
  const TTextCase& Case = GetParam();
  EXPECT_EQ(GridPlanText(PlanGrid(*DrawSheet(Case.Art), Case.Spec, Case.Limit), Case.Limit),
            Case.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GridPlanTexts,
    testing::Values(
        TTextCase{"Sprites", Solid(4, 2), {2, 2}, 10, "2 x 1 cells make 2 sprites"},
        TTextCase{"OneSprite", Solid(2, 2), {2, 2}, 10, "1 x 1 cells make 1 sprite"},
        TTextCase{"EmptyCells",
                  {"a000", "0000"},
                  {1, 1},
                  10,
                  "4 x 2 cells make 1 sprite, 7 empty cells left out"},
        TTextCase{
            "NoWholeCell", Solid(2, 2), {3, 1}, 10, "No whole cell of the grid fits in the sprite"},
        TTextCase{"OverTheLimit",
                  Solid(4, 1),
                  {1, 1},
                  3,
                  "More than 3 sprites: the sprite file cannot hold them all"}),
    ByName);

// A cell whose only colour is nearly black is no empty cell.
TEST(CutByGrid, PutsTheCellsWordForWordInTheSheetsPlace) {
  TS16File File;
  File.Add(MakeSprite(1, 1, {0x1111}));
  File.Add(MakeSprite(5, 2,
                      {0, 1, 0x8410, 3, 4,  //
                       0, 0, 0x8410, 0, 0}));
  File.Add(MakeSprite(1, 1, {0x2222}));
  const TWords Sheet = SpriteWords(File.GetSprite(1));

  const TGridCut Cut = CutByGrid(File, 1, {2, 2, 0, 1});
  EXPECT_EQ(Cut.Count, 2);
  EXPECT_EQ(SpriteWords(*Cut.Sheet), Sheet);
  ASSERT_EQ(File.Count(), 4);
  EXPECT_EQ(SpriteWords(File.GetSprite(1)), (TWords{0, 1, 0, 0}));
  EXPECT_EQ(SpriteWords(File.GetSprite(2)), (TWords{3, 4, 0, 0}));
  EXPECT_EQ(File.GetSprite(2).Width(), 2);
  EXPECT_EQ(SpriteWords(File.GetSprite(3)), (TWords{0x2222}));
  EXPECT_EQ(GridCutText(Cut, 1), "Cut by Grid: 2 sprites in place of sprite 1");
}

struct TRefusalCase {
  const char* Name;
  int OtherSprites;  // beside the sheet
  TArt Art;
  TGridSpec Spec;
  std::string Error;  // empty: the cut is made
};

class GridCutRefusals : public testing::TestWithParam<TRefusalCase> {};

TEST_P(GridCutRefusals, LeaveTheDocumentAsItWas) {
  const TRefusalCase& Case = GetParam();
  TS16File File;
  File.Add(DrawSheet(Case.Art));
  for (int I = 0; I < Case.OtherSprites; ++I) File.Add(MakeSprite(0, 0));
  const int Count = File.Count();
  const std::string Error = ErrorText<ESpriteError>([&] { CutByGrid(File, 0, Case.Spec); });
  if (Case.Error.empty()) {
    EXPECT_EQ(Error, "(no error)");
    EXPECT_GT(File.Count(), Count);
    return;
  }
  EXPECT_EQ(Error, Case.Error);
  ASSERT_EQ(File.Count(), Count);
  EXPECT_EQ(File.GetSprite(0).Width(), Case.Art.empty() ? 0 : int(Case.Art[0].size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, GridCutRefusals,
    testing::Values(
        TRefusalCase{"FillsTheFileToItsLimit", TS16File::MaxSprites - 3, Solid(3, 1), {1, 1}, ""},
        TRefusalCase{"WouldPassTheLimit",
                     TS16File::MaxSprites - 3,
                     Solid(4, 1),
                     {1, 1},
                     "A sprite file holds at most 65535 sprites"},
        TRefusalCase{
            "NoWholeCell", 0, Solid(2, 2), {3, 3}, "No whole cell of the grid fits in the sprite"},
        TRefusalCase{"EveryCellBlack",
                     0,
                     {"00", "00"},
                     {1, 1},
                     "Every cell of the grid is entirely black: there is nothing to cut"}),
    ByName);

}  // namespace
