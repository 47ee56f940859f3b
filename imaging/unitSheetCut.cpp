#include "imaging/unitSheetCut.h"

TSheetCut::TSheetCut(TS16File& File, int Index, ICutterView& View)
    : Scanner(File.GetSprite(Index)), View(View), FFile(File), FInsertIndex(Index) {}

void TSheetCut::RemoveComposite() {
  FFile.Delete(FInsertIndex);
  Scanner.ReadBackground();
}

void TSheetCut::CutFound(const TCutBox& Box, const std::string& Lead) {
  ++FFound;
  View.SetStatusText(Lead + "Found Sprite at: " + std::to_string(Box.Left) + "," +
                     std::to_string(Box.Top) + " - " + std::to_string(Box.Right) + "," +
                     std::to_string(Box.Bottom) + " - Total now " + std::to_string(FFound));
  CutBox(Box);
}

void TSheetCut::CutBox(const TCutBox& Box) {
  // A sheet of tiny sprites could otherwise make a document far larger than its picture, and
  // one that no sprite file can hold.
  if (FFile.Count() >= TS16File::MaxSprites)
    throw ESpriteError("A sprite file holds at most " + std::to_string(TS16File::MaxSprites) +
                       " sprites");
  FFile.Insert(Scanner.CutBox(Box), FInsertIndex);
  ++FInsertIndex;
  View.BoxCut(Box);
}
