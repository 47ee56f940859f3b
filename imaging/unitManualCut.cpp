#include "imaging/unitManualCut.h"

TManualCut::TManualCut(TS16File& File, int Index, IDesktopServices& Services, IManualCutView& View)
    : TSheetCut(File, Index, View), FServices(Services), FView(View) {}

void TManualCut::Run() {
  // Waiting from the start: a Finish while the first status text lets messages run is kept.
  CutRequest = Waiting;
  AllOrNothing([this] {
    FView.SetStatusText("Splitting the Bitmap...");
    RemoveComposite();
    FView.ShowWorkingImage(WorkingImage());
    HideMarker();
    while (true) {
      while (CutRequest == Waiting) FView.WaitForMessages();
      if (CutRequest <= Finishing) return true;
      CutFound({CutLeft, CutRequest, CutRight, CutBottom}, "Splitting the Bitmap, ");
      // A release while the status text let messages run measured the image before this cut,
      // and is dropped with the marker; a Finish chosen then still finishes.
      if (CutRequest != Finishing) CutRequest = Waiting;
      HideMarker();
    }
  });
}

void TManualCut::ClipperMouseDown(TMouseButton Button, int X, int Y) {
  if (Button != TMouseButton::Left) return;
  if (Scanner.IsBackground(X, Y)) {
    Warn("You have clicked in some mask...", TMsgIcon::Stop);
    return;
  }
  const TCutBox Box = Scanner.ScanFrom(X, Y);
  if (!Scanner.VerticalScannerAgrees(X, Y, Box)) {
    Warn(
        "Warning, the vertical scanner encountered some mask pixels within the image. Please "
        "try again at a different point in the sprite.",
        TMsgIcon::Exclamation);
    return;
  }
  MarkerTarget = MarkerOf(Box);
  ShowMarker({X, Y, 1, 1});
  PlayCutterSound();
  GrowMarker();
}

void TManualCut::ClipperMouseUp(TMouseButton Button, int X, int Y) {
  if (Button != TMouseButton::Left || !FMarkerVisible || CutRequest == Finishing) return;
  if (!MarkerContains(MarkerTarget, X, Y)) return;
  const TCutBox Box = BoxOf(MarkerTarget);
  CutRequest = Box.Top;
  CutBottom = Box.Bottom;
  CutLeft = Box.Left;
  CutRight = Box.Right;
}

void TManualCut::MarkerMouseDown() {
  HideMarker();
}

void TManualCut::PlayCutterSound() {
  const std::string Path = FServices.ProgramDataFilePath("cutter.wav");
  // A sound still playing makes the call fail at once: two more tries, 100 ms apart.
  for (int Try = 1; !FServices.PlaySound(Path) && Try < 3; ++Try) FServices.Sleep(100);
}

void TManualCut::GrowMarker() {
  // A press handled while messages run may mark another box or hide the marker: the growth
  // goes on towards the box marked last, and stops with a hidden marker.
  while (FMarkerVisible && MarkerGrowing(FMarker, MarkerTarget)) {
    ShowMarker(MarkerGrowthStep(FMarker, MarkerTarget));
    FServices.ProcessMessages();
  }
  // The last step of two may have gone one pixel past.
  if (FMarkerVisible) ShowMarker(MarkerTarget);
}

void TManualCut::ShowMarker(const TMarker& Marker) {
  FMarker = Marker;
  FMarkerVisible = true;
  FView.ShowMarker(Marker);
}

void TManualCut::HideMarker() {
  FMarkerVisible = false;
  FView.HideMarker();
}

void TManualCut::Warn(const char* Text, TMsgIcon Icon) {
  FServices.MessageBox({Text, "The Pelbrook", TMsgButtons::Ok, Icon});
}
