#pragma once
// What both cutters share once a composite sprite is taken from the document: its working
// image, the cut of a found box into a new sprite at the composite's place, the view that
// shows it all, and the way back to the document as it was.

#include <functional>
#include <memory>
#include <string>

#include "imaging/unitSheetScanner.h"
#include "sprites/unitS16Handler.h"

// A cut that would give the document more sprites than a sprite file holds.
class ESpriteLimitError : public ESpriteError {
 public:
  using ESpriteError::ESpriteError;
};

// What a cutter shows while it runs: the window's views, or pelbrook-tool's output.
class ICutterView {
 public:
  virtual ~ICutterView() = default;
  virtual void SetStatusText(const std::string& Text) = 0;
  // The working image, shown from now on; it changes in place and lives as long as the
  // cutter.
  virtual void ShowWorkingImage(const TBitmap& Image) = 0;
  // Box has just been cut out and erased with the background: nothing else changed. It comes
  // right after the status text that names the cut.
  virtual void BoxCut(const TCutBox& Box) = 0;
};

class TSheetCut {
 public:
  // Makes the working image of sprite Index; raises ESpriteError "List Index Out of Bounds"
  // for an index not in File.
  TSheetCut(TS16File& File, int Index, ICutterView& View);
  virtual ~TSheetCut() = default;
  TSheetCut(const TSheetCut&) = delete;
  TSheetCut& operator=(const TSheetCut&) = delete;

  const TBitmap& WorkingImage() const { return Scanner.Image(); }
  // N, the sprites cut so far.
  int Found() const { return FFound; }
  // Where the composite stood, and the count of sprites now standing there in its place.
  int Index() const { return FIndex; }
  int Inserted() const { return FInsertIndex - FIndex; }

  // Runs Action on the document with the composite back in it, right after the sprites cut so
  // far, then takes it out again: a save made while the cutter runs loses none of the sheet.
  void WithCompositeKept(const std::function<void()>& Action);
  // After a run that ended well: the composite the document no longer holds (null if it never
  // left the document).
  std::unique_ptr<TS16Sprite> TakeComposite() { return std::move(FComposite); }

 protected:
  // The composite leaves the document, so the working image is its only copy there; then B
  // is read.
  void RemoveComposite();
  // Runs Cutting. When it fails, or returns false for a cutter stopped half-way, the document
  // is put back as it was before, and the error goes on. True when it ran to its end.
  bool AllOrNothing(const std::function<bool()>& Cutting);
  // N grows by one, the status text Lead + "Found Sprite at: ..." names the box, and it is
  // cut.
  void CutFound(const TCutBox& Box, const std::string& Lead);
  // The box becomes a new sprite inserted at I, which then grows by one, and is erased from
  // the working image. Past the most sprites a document can hold it raises ESpriteLimitError
  // and cuts nothing.
  void CutBox(const TCutBox& Box);

  TSheetScanner Scanner;
  ICutterView& View;

 private:
  // The cuts so far go, and the composite is back at its place.
  void PutBack();

  TS16File& FFile;
  const int FIndex;
  int FInsertIndex;
  int FFound = 0;
  std::unique_ptr<TS16Sprite> FComposite;
};
