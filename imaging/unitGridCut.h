#pragma once
// Cutting a sheet laid out on a fixed grid, which has no background colour between its
// sprites: cells of one size, a margin before the first column and row, and spacing between
// neighbouring cells. Cells are taken in row order; a cell that does not fit whole at the right
// or bottom edge is left out, and so, when asked, is a cell that is entirely black.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/unitSheetScanner.h"
#include "sprites/unitS16Handler.h"

struct TGridLayout {
  int CellWidth = 32;
  int CellHeight = 32;
  int Margin = 0;   // from the left and top edges to the first cell
  int Spacing = 0;  // between neighbouring cells, across and down
  bool SkipEmpty = true;
};

// Whole cells along a side of Length pixels: 0 when not even one fits.
int GridCellsAlong(int Length, int Cell, int Margin, int Spacing);

struct TGridPlan {
  int Columns = 0;              // whole cells across
  int Rows = 0;                 // and down
  std::vector<TCutBox> Cells;   // the cells to cut, in row order
  std::int64_t EmptyCells = 0;  // whole cells left out for being entirely black
  bool OverLimit = false;       // more cells than the limit: Cells stops one past it
};

// The cells of Sheet's grid, counted up to Limit + 1 at most. Raises ESpriteError for a cell
// side under 1, or a negative margin or spacing.
TGridPlan PlanGrid(const TS16Sprite& Sheet, const TGridLayout& Layout, int Limit);
// What the plan will make, in a line: the count of sprites, of empty cells left out, or why
// there is nothing to cut.
std::string GridPlanText(const TGridPlan& Plan, int Limit);

// What the grid cutter's dialog shows and takes: the sheet, previewed under its grid, and the
// numbers it opens with, which are the user's choice once it is confirmed.
struct TGridDialog {
  const TS16Sprite* Sheet = nullptr;
  TGridLayout Layout;
  int Limit = TS16File::MaxSprites;  // the most sprites the cut may make
};

// The sprites a cut gives in place of one: the sheet as it was, and how many took its place.
struct TGridCut {
  std::unique_ptr<TS16Sprite> Sheet;
  int Count = 0;
};

// How many sprites a cut of sprite Index may make without File passing the most it can hold.
int GridCutLimit(const TS16File& File);
// Sprite Index of File is replaced by the cells of its grid, in row order. Raises
// ESpriteLimitError when File would hold more sprites than a sprite file can, ESpriteError
// when no cell is cut; File is then unchanged.
TGridCut CutByGrid(TS16File& File, int Index, const TGridLayout& Layout);
// What a cut of sprite Index did, in a line.
std::string GridCutText(const TGridCut& Cut, int Index);
