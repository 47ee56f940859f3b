// The manual cutter on the window: its view over the list, the mouse and Finish forwarded to
// the cutter, and its loop waiting on the window's messages.

#include <QCoreApplication>
#include <QScopedValueRollback>
#include <QScrollArea>

#include "app/unitPelbrookMainWindow.h"
#include "app/unitShapeMarker.h"
#include "app/unitWorkingImageView.h"
#include "imaging/unitManualCut.h"

namespace {

class TManualCutWindowView : public IManualCutView {
 public:
  TManualCutWindowView(TPelbrookMainWindow& Window, IDesktopServices& Services,
                       QScrollArea& Scroller, TWorkingImageView& Clipper, TShapeMarker& Marker)
      : FWindow(Window),
        FServices(Services),
        FScroller(Scroller),
        FClipper(Clipper),
        FMarker(Marker) {}
  ~TManualCutWindowView() override {
    FMarker.hide();
    FClipper.SetImage(nullptr);
  }

  void SetStatusText(const std::string& Text) override { FWindow.SetStatusText(Text); }
  void ShowWorkingImage(const TBitmap& Image) override {
    FClipper.SetImage(&Image);
    FScroller.show();
  }
  void BoxCut(const TCutBox& Box) override { FClipper.RepaintBox(Box); }
  void ShowMarker(const TMarker& Marker) override {
    FMarker.SetMarker(Marker);
    FMarker.show();
    FMarker.update();
  }
  void HideMarker() override { FMarker.hide(); }
  void WaitForMessages() override { FServices.WaitForMessages(); }

 private:
  TPelbrookMainWindow& FWindow;
  IDesktopServices& FServices;
  QScrollArea& FScroller;
  TWorkingImageView& FClipper;
  TShapeMarker& FMarker;
};

TMouseButton ButtonOf(Qt::MouseButton Button) {
  return Button == Qt::LeftButton    ? TMouseButton::Left
         : Button == Qt::RightButton ? TMouseButton::Right
                                     : TMouseButton::Middle;
}

}  // namespace

void TPelbrookMainWindow::ExpandManualClick() {
  if (!ExpansionMayStart()) return;
  const int Selected = SelectedItem();
  RunCutter(*ManualScroller, [&] {
    TManualCutWindowView View(*this, FServices, *ManualScroller, *ManualClipper, *ShapeMarker);
    TManualCut Cut(*SpriteFile, Selected, FServices, View);
    const QScopedValueRollback Running(FManualCut, &Cut);
    Cut.Run();
    RecordCutterRun("ExpandManual", Cut);
    return true;
  });
}

void TPelbrookMainWindow::ManualClipperMouseDown(Qt::MouseButton Button, int X, int Y) {
  if (FManualCut) FManualCut->ClipperMouseDown(ButtonOf(Button), X, Y);
}

void TPelbrookMainWindow::ManualClipperMouseUp(Qt::MouseButton Button, int X, int Y) {
  if (FManualCut) FManualCut->ClipperMouseUp(ButtonOf(Button), X, Y);
}

void TPelbrookMainWindow::ShapeMarkerMouseDown() {
  if (FManualCut) FManualCut->MarkerMouseDown();
}

void TPelbrookMainWindow::Finish1Click() {
  if (FManualCut) FManualCut->Finish();
}
