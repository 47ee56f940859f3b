#include "app/unitPacedExpansionView.h"

#include <utility>

#include "app/unitPelbrookMainWindow.h"
#include "app/unitWorkingImageView.h"

TPacedExpansionView::TPacedExpansionView(TPelbrookMainWindow& Window, TWorkingImageView& Image,
                                         IDesktopServices& Services)
    : FWindow(Window), FImage(Image), FServices(Services) {}

TPacedExpansionView::~TPacedExpansionView() {
  FImage.SetImage(nullptr);
}

void TPacedExpansionView::SetStatusText(const std::string& Text) {
  // The log has every text, for whoever follows the run; the panel the newest of each frame.
  FWindow.LogStatusText(Text);
  FText = Text;
  FUnshown = true;
  PaintWhenDue();
}

void TPacedExpansionView::SetProgress(int Value) {
  if (FProgress == Value) return;
  FProgress = Value;
  FUnshown = true;
  PaintWhenDue();
}

void TPacedExpansionView::ShowWorkingImage(const TBitmap& Image) {
  FImage.SetImage(&Image);
}

void TPacedExpansionView::BoxCut(const TCutBox& Box) {
  // Shown with the next report that is due, as the cut's text came just before it.
  FCutText = FText;
  FErased |= TWorkingImageView::Area(Box);
  FUnshown = true;
}

void TPacedExpansionView::Flush() {
  if (FUnshown) Paint();
}

void TPacedExpansionView::PaintWhenDue() {
  if (FFrameEnded && FServices.TickCount() - *FFrameEnded < FrameMilliseconds) return;
  Paint();
  FFrameEnded = FServices.TickCount();
}

void TPacedExpansionView::Paint() {
  FUnshown = !FCutText.empty() && FCutText != FText;
  FWindow.PutStatusText(FCutText.empty() ? FText : std::exchange(FCutText, {}));
  if (FProgress) FWindow.PutProgress(*FProgress);
  FImage.update(std::exchange(FErased, {}));
  FServices.ProcessMessages();
}
