#pragma once
// What both cutters share once a composite sprite is taken from the document: its working
// image, the cut of a found box into a new sprite at the composite's place, and the view that
// shows it all.

#include <string>

#include "imaging/unitSheetScanner.h"
#include "sprites/unitS16Handler.h"

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

 protected:
  // The composite leaves the document, so the working image is its only copy; then B is
  // read.
  void RemoveComposite();
  // N grows by one, the status text Lead + "Found Sprite at: ..." names the box, and it is
  // cut.
  void CutFound(const TCutBox& Box, const std::string& Lead);
  // The box becomes a new sprite inserted at I, which then grows by one, and is erased from
  // the working image. Past the most sprites a document can hold it raises ESpriteError
  // and cuts nothing.
  void CutBox(const TCutBox& Box);

  TSheetScanner Scanner;
  ICutterView& View;

 private:
  TS16File& FFile;
  int FInsertIndex;
  int FFound = 0;
};
