#include "imaging/unitExpansionScan.h"

TExpansionScan::TExpansionScan(TS16File& File, int Index, IExpansionView& View)
    : TSheetCut(File, Index, View), FView(View) {}

bool TExpansionScan::Run() {
  return AllOrNothing([this] {
    FView.ShowWorkingImage(WorkingImage());
    FView.SetStatusText("Splitting the Bitmap...");
    RemoveComposite();
    // Every cut turns at least its first pixel into background, so the passes come to an end.
    int Pass = 1;
    while (!FStopped && RunPass(Pass)) ++Pass;
    return !FStopped;
  });
}

bool TExpansionScan::RunPass(int Pass) {
  const std::string Lead = "Splitting the Bitmap, Pass " + std::to_string(Pass);
  FView.SetStatusText(Lead + " - Total Images now " + std::to_string(Found()));
  const int Width = Scanner.Width();
  bool Cut = false;
  // Columns up to and including the one after a cut box are not examined again in the pass.
  for (int X = 0; X < Width && !FStopped; ++X) {
    if (Width > 1) FView.SetProgress(LoopPercent(X, Width));
    const int Top = Scanner.FirstSpriteRow(X);
    if (Top == Scanner.Height()) continue;
    const TCutBox Box = Scanner.BoxFromTopRow(X, Top);
    CutFound(Box, Lead + ". ");
    X = Box.Right + 1;
    Cut = true;
  }
  return Cut;
}
