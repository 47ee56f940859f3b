#pragma once
// Expand Sprite without the window: the composite's columns are scanned left to right in
// passes, each examined column's topmost sprite is cut out, and the passes repeat until one
// finds nothing. The editor's handler and pelbrook-tool run this same code.

#include "imaging/unitSheetCut.h"
#include "sprites/unitProgress.h"

// The expansion's view also shows the progress of each pass, one report per examined column.
class IExpansionView : public ICutterView, public IProgressReport {};

class TExpansionScan : public TSheetCut {
 public:
  // Makes the working image of sprite Index (see TSheetCut).
  TExpansionScan(TS16File& File, int Index, IExpansionView& View);

  // Shows the working image, deletes the composite and runs the passes; the new sprites stand
  // at the composite's index in the order found. Any error, or Stop, ends the run at once and
  // leaves the document as it was before; false after Stop.
  bool Run();
  // Asked while the view lets messages run: the run ends at the next column.
  void Stop() { FStopped = true; }

 private:
  // One pass of column scans; false when it cut nothing.
  bool RunPass(int Pass);

  IExpansionView& FView;
  bool FStopped = false;
};
