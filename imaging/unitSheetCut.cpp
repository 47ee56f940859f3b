#include "imaging/unitSheetCut.h"

TSheetCut::TSheetCut(TS16File& File, int Index, ICutterView& View)
    : Scanner(File.GetSprite(Index)), View(View), FFile(File), FIndex(Index), FInsertIndex(Index) {}

void TSheetCut::RemoveComposite() {
  FComposite = std::move(FFile.Take(FIndex, 1).front());
  Scanner.ReadBackground();
}

bool TSheetCut::AllOrNothing(const std::function<bool()>& Cutting) {
  try {
    if (Cutting()) return true;
  } catch (...) {
    PutBack();
    throw;
  }
  PutBack();
  return false;
}

void TSheetCut::PutBack() {
  FFile.Take(FIndex, Inserted());
  FInsertIndex = FIndex;
  if (FComposite) FFile.Insert(std::move(FComposite), FIndex);
}

void TSheetCut::WithCompositeKept(const std::function<void()>& Action) {
  if (!FComposite) {
    Action();
    return;
  }
  FFile.Insert(std::move(FComposite), FInsertIndex);
  const auto TakeBack = [this] { FComposite = std::move(FFile.Take(FInsertIndex, 1).front()); };
  try {
    Action();
  } catch (...) {
    TakeBack();
    throw;
  }
  TakeBack();
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
    throw ESpriteLimitError("A sprite file holds at most " + std::to_string(TS16File::MaxSprites) +
                            " sprites");
  FFile.Insert(Scanner.CutBox(Box), FInsertIndex);
  ++FInsertIndex;
  View.BoxCut(Box);
}
