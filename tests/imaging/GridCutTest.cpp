// The grid cutter's core: which cells a grid takes from a sheet, in which order, what its
// dialog says of them, and the cut refused past the most sprites a file holds.

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
  for (const TCutBox& Cell : Cells) {
    if (!Text.empty()) Text += ' ';
    Text += std::to_string(Cell.Left) + "," + std::to_string(Cell.Top) + "-" +
            std::to_string(Cell.Right) + "," + std::to_string(Cell.Bottom);
  }
  return Text;
}

// A sheet of Width x Height pixels, none of them black.
TArt Solid(int Width, int Height) {
  return TArt(std::size_t(Height), std::string(std::size_t(Width), 'a'));
}

struct TGridCase {
  const char* Name;
  TArt Art;
  TGridLayout Layout;
  std::string Cells;
  std::string Text;  // the dialog's line, with a limit of 10
};

class GridCells : public testing::TestWithParam<TGridCase> {};

TEST_P(GridCells, AreTheWholeCellsInRowOrder) {
  const TGridCase& Case = GetParam();
  const TGridPlan Plan = PlanGrid(*DrawSheet(Case.Art), Case.Layout, 10);
  EXPECT_EQ(CellsText(Plan.Cells), Case.Cells);
  EXPECT_EQ(GridPlanText(Plan, 10), Case.Text);
}

const char* const NoCell = "No whole cell of the grid fits in the sprite";

INSTANTIATE_TEST_SUITE_P(
    Sheets, GridCells,
    testing::Values(
        TGridCase{"ExactFit", Solid(4, 2), {2, 2}, "0,0-1,1 2,0-3,1", "2 x 1 cells make 2 sprites"},
        TGridCase{"PartialCellsAtRightAndBottomLeftOut",
                  Solid(5, 3),
                  {2, 2},
                  "0,0-1,1 2,0-3,1",
                  "2 x 1 cells make 2 sprites"},
        TGridCase{"MarginAndSpacing",
                  Solid(8, 4),
                  {2, 1, 1, 1},
                  "1,1-2,1 4,1-5,1 1,3-2,3 4,3-5,3",
                  "2 x 2 cells make 4 sprites"},
        TGridCase{"CellWiderThanSheet", Solid(3, 3), {4, 1}, "", NoCell},
        TGridCase{"HugeSpacingDoesNotWrap",
                  Solid(3, 2),
                  {1, 1, 0, INT_MAX},
                  "0,0-0,0",
                  "1 x 1 cells make 1 sprite"},
        TGridCase{"HugeMarginDoesNotWrap", Solid(3, 2), {1, 1, INT_MAX}, "", NoCell},
        TGridCase{"BlackCellsLeftOut",
                  {"00a0", "0000"},
                  {2, 2},
                  "2,0-3,1",
                  "2 x 1 cells make 1 sprite, 1 empty cell left out"},
        TGridCase{"BlackCellsKept",
                  {"00a0", "0000"},
                  {2, 2, 0, 0, false},
                  "0,0-1,1 2,0-3,1",
                  "2 x 1 cells make 2 sprites"},
        // Only the cell counts: black around it leaves nothing out.
        TGridCase{"BlackOnlyAroundACell",
                  {"000", "0a0", "000"},
                  {1, 1, 1, 1},
                  "1,1-1,1",
                  "1 x 1 cells make 1 sprite"},
        TGridCase{"StopsOnePastTheLimit",
                  Solid(12, 1),
                  {1, 1},
                  "0,0-0,0 1,0-1,0 2,0-2,0 3,0-3,0 4,0-4,0 5,0-5,0 6,0-6,0 7,0-7,0 8,0-8,0 "
                  "9,0-9,0 10,0-10,0",
                  "More than 10 sprites: the sprite file cannot hold them all"}),
    ByName);

struct TLimitCase {
  const char* Name;
  int Cells;  // in place of one sprite of a file 2 short of its limit
  std::string Error;
};

class GridCutLimit : public testing::TestWithParam<TLimitCase> {};

TEST_P(GridCutLimit, RefusesACutPastTheMostSpritesAFileHoldsLeavingItAsItWas) {
  TS16File File;
  File.Add(DrawSheet(Solid(GetParam().Cells, 1)));
  while (File.Count() < TS16File::MaxSprites - 2) File.Add(MakeSprite(0, 0));
  const std::string Error = ErrorText<ESpriteLimitError>([&] { CutByGrid(File, 0, {1, 1}); });
  EXPECT_EQ(Error, GetParam().Error);
  EXPECT_EQ(File.Count(), TS16File::MaxSprites - (Error == "(no error)" ? 0 : 2));
}

INSTANTIATE_TEST_SUITE_P(Cuts, GridCutLimit,
                         testing::Values(TLimitCase{"FillsTheFile", 3, "(no error)"},
                                         TLimitCase{"OnePast", 4,
                                                    "A sprite file holds at most 65535 sprites"}),
                         ByName);

}  // namespace
