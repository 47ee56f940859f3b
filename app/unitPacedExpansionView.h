#pragma once
// Expand Sprite's reports on the window, painted at display rate. The scan cuts a sprite every
// few microseconds, far more often than a screen shows frames, so each frame paints the newest
// state (the boxes erased since the frame before, the status text, the progress) and lets
// pending messages run, Escape and the close among them.

#include <QRect>
#include <cstdint>
#include <optional>
#include <string>

#include "imaging/unitExpansionScan.h"

class IDesktopServices;
class TPelbrookMainWindow;
class TWorkingImageView;

class TPacedExpansionView : public IExpansionView {
 public:
  // The least time from the end of one frame to the next.
  static constexpr std::int64_t FrameMilliseconds = 16;

  TPacedExpansionView(TPelbrookMainWindow& Window, TWorkingImageView& Image,
                      IDesktopServices& Services);
  ~TPacedExpansionView() override;
  TPacedExpansionView(const TPacedExpansionView&) = delete;
  TPacedExpansionView& operator=(const TPacedExpansionView&) = delete;

  void SetStatusText(const std::string& Text) override;
  void SetProgress(int Value) override;
  void ShowWorkingImage(const TBitmap& Image) override;
  void BoxCut(const TCutBox& Box) override;
  // The run has ended: what no frame has shown yet is painted now.
  void Flush();

 private:
  void PaintWhenDue();
  void Paint();

  TPelbrookMainWindow& FWindow;
  TWorkingImageView& FImage;
  IDesktopServices& FServices;
  std::optional<std::int64_t> FFrameEnded;
  std::string FText;  // the newest
  // The newest cut's text while no frame has shown it: a pass's opening text that comes after
  // it waits a frame, so that the last cut's text is always seen.
  std::string FCutText;
  std::optional<int> FProgress;
  QRect FErased;          // the boxes cut since the last frame
  bool FUnshown = false;  // a report that no frame has painted yet
};
