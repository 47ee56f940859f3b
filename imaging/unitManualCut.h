#pragma once
// The manual cutter without the window: the user presses inside one sprite at a time, the
// press measures its box twice, plays the cutting sound and grows the marker out to the box,
// and a release inside the box asks for the cut, which the cutter's loop makes. The window
// forwards its mouse events and Finish here and shows what the view is told.

#include <cstdint>

#include "imaging/unitSheetCut.h"
#include "platform/unitDesktopServices.h"

enum class TMouseButton { Left, Right, Middle };

class IManualCutView : public ICutterView {
 public:
  // The marker in working-image coordinates (Width and Height as TMarker has them).
  virtual void ShowMarker(const TMarker& Marker) = 0;
  virtual void HideMarker() = 0;
  // Waits until window messages come and handles them: the forwarded mouse handlers and
  // Finish run inside.
  virtual void WaitForMessages() = 0;
};

class TManualCut : public TSheetCut {
 public:
  static constexpr std::int32_t Waiting = -1;
  static constexpr std::int32_t Finishing = -2;

  // Makes the working image of sprite Index (see TSheetCut). Message boxes, message pumping
  // and the sound go through Services.
  TManualCut(TS16File& File, int Index, IDesktopServices& Services, IManualCutView& View);

  // Deletes the composite, shows the working image and makes each requested cut until Finish;
  // the cut sprites stand at the composite's index in the order cut. Any error ends the run
  // at once and leaves the document as it was before.
  void Run();

  // A left press on the image (X, Y in image coordinates) measures the sprite there; a press
  // on background or one the vertical scanner disagrees with says so and changes nothing.
  void ClipperMouseDown(TMouseButton Button, int X, int Y);
  // A left release inside the marked box, while the marker shows, asks for its cut.
  void ClipperMouseUp(TMouseButton Button, int X, int Y);
  // Any press on the marker hides it.
  void MarkerMouseDown();
  // Finish1Click and the close query.
  void Finish() { CutRequest = Finishing; }

  bool MarkerVisible() const { return FMarkerVisible; }
  const TMarker& Marker() const { return FMarker; }

  // Waiting, Finishing, or a requested cut: the box's top row, with the rest of it below.
  std::int32_t CutRequest = Waiting;
  std::int32_t CutBottom = 0;
  std::int32_t CutLeft = 0;
  std::int32_t CutRight = 0;
  // The box of the last accepted press, in image coordinates.
  TMarker MarkerTarget;

 private:
  void PlayCutterSound();
  void GrowMarker();
  void ShowMarker(const TMarker& Marker);
  void HideMarker();
  void Warn(const char* Text, TMsgIcon Icon);

  IDesktopServices& FServices;
  IManualCutView& FView;
  TMarker FMarker;
  bool FMarkerVisible = false;
};
