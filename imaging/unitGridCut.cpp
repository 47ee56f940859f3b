#include "imaging/unitGridCut.h"

#include <algorithm>

#include "imaging/unitSheetCut.h"

namespace {

const char* const NoWholeCellText = "No whole cell of the grid fits in the sprite";

bool CellIsEmpty(const TS16Sprite& Sheet, const TCutBox& Cell) {
  for (int Y = Cell.Top; Y <= Cell.Bottom; ++Y) {
    const std::uint16_t* Row = Sheet.PixelData() + std::size_t(Y) * Sheet.Width();
    if (!std::all_of(Row + Cell.Left, Row + Cell.Right + 1, [](std::uint16_t W) { return W == 0; }))
      return false;
  }
  return true;
}

std::unique_ptr<TS16Sprite> CellSprite(const TS16Sprite& Sheet, const TCutBox& Cell) {
  auto Sprite = std::make_unique<TS16Sprite>();
  const int Width = Cell.Right - Cell.Left + 1;
  Sprite->SetWidth(std::uint16_t(Width));
  Sprite->SetHeight(std::uint16_t(Cell.Bottom - Cell.Top + 1));
  Sprite->SetLayoutFlag(Sheet.Is555());
  Sprite->CopyWords(Sheet, Cell.Left, Cell.Top, 0, 0, Width, Sprite->Height());
  return Sprite;
}

}  // namespace

int GridCellsAlong(int Length, int Cell, int Margin, int Spacing) {
  // In 64 bits: a margin or spacing near the largest int must not wrap into a fit.
  const std::int64_t Room = std::int64_t(Length) - Margin - Cell;
  if (Room < 0) return 0;
  return int(Room / (std::int64_t(Cell) + Spacing) + 1);
}

TGridPlan PlanGrid(const TS16Sprite& Sheet, const TGridLayout& Layout, int Limit) {
  if (Layout.CellWidth < 1 || Layout.CellHeight < 1)
    throw ESpriteError("A grid cell must be at least 1 pixel wide and high");
  if (Layout.Margin < 0 || Layout.Spacing < 0)
    throw ESpriteError("A grid's margin and spacing cannot be negative");
  TGridPlan Plan;
  Plan.Columns = GridCellsAlong(Sheet.Width(), Layout.CellWidth, Layout.Margin, Layout.Spacing);
  Plan.Rows = GridCellsAlong(Sheet.Height(), Layout.CellHeight, Layout.Margin, Layout.Spacing);
  // Every cell lies inside the sheet, so its corners fit in an int; the steps may not.
  const std::int64_t StepDown = std::int64_t(Layout.CellHeight) + Layout.Spacing;
  const std::int64_t StepAcross = std::int64_t(Layout.CellWidth) + Layout.Spacing;
  for (int Row = 0; Row < Plan.Rows; ++Row) {
    const int Top = int(Layout.Margin + Row * StepDown);
    for (int Column = 0; Column < Plan.Columns; ++Column) {
      const int Left = int(Layout.Margin + Column * StepAcross);
      const TCutBox Cell{Left, Top, Left + Layout.CellWidth - 1, Top + Layout.CellHeight - 1};
      if (Layout.SkipEmpty && CellIsEmpty(Sheet, Cell)) {
        ++Plan.EmptyCells;
        continue;
      }
      Plan.Cells.push_back(Cell);
      // A sheet of a million tiny cells stops here, before it costs memory or time.
      if (Plan.Cells.size() > std::size_t(std::max(Limit, 0))) {
        Plan.OverLimit = true;
        return Plan;
      }
    }
  }
  return Plan;
}

std::string GridPlanText(const TGridPlan& Plan, int Limit) {
  if (Plan.OverLimit)
    return "More than " + std::to_string(Limit) + " sprites: the sprite file cannot hold them all";
  if (Plan.Columns == 0 || Plan.Rows == 0) return NoWholeCellText;
  std::string Text = std::to_string(Plan.Columns) + " x " + std::to_string(Plan.Rows) +
                     " cells make " + std::to_string(Plan.Cells.size()) +
                     (Plan.Cells.size() == 1 ? " sprite" : " sprites");
  if (Plan.EmptyCells > 0)
    Text += ", " + std::to_string(Plan.EmptyCells) +
            (Plan.EmptyCells == 1 ? " empty cell" : " empty cells") + " left out";
  return Text;
}

int GridCutLimit(const TS16File& File) {
  // The sheet's own place is freed by the cut.
  return TS16File::MaxSprites - (File.Count() - 1);
}

TGridCut CutByGrid(TS16File& File, int Index, const TGridLayout& Layout) {
  const TS16Sprite& Sheet = File.GetSprite(Index);
  const int Limit = GridCutLimit(File);
  const TGridPlan Plan = PlanGrid(Sheet, Layout, Limit);
  if (Plan.OverLimit)
    throw ESpriteLimitError("A sprite file holds at most " + std::to_string(TS16File::MaxSprites) +
                            " sprites");
  if (Plan.Cells.empty())
    throw ESpriteError(Plan.Columns == 0 || Plan.Rows == 0
                           ? NoWholeCellText
                           : "Every cell of the grid is entirely black: there is nothing to cut");
  std::vector<std::unique_ptr<TS16Sprite>> Cells;
  Cells.reserve(Plan.Cells.size());
  for (const TCutBox& Cell : Plan.Cells) Cells.push_back(CellSprite(Sheet, Cell));
  TGridCut Cut{std::move(File.Take(Index, 1).front()), int(Cells.size())};
  File.Put(Index, std::move(Cells));
  return Cut;
}

std::string GridCutText(const TGridCut& Cut, int Index) {
  return "Cut by Grid: " + std::to_string(Cut.Count) + (Cut.Count == 1 ? " sprite" : " sprites") +
         " in place of sprite " + std::to_string(Index);
}
