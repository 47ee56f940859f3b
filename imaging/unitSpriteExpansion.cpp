// Expand Sprite on the window: the prompts, the working image shown at 1:1 while the passes cut
// it apart, and the end of both cutters, whether they ran through or failed.

#include <QScrollArea>

#include "app/unitPelbrookMainWindow.h"
#include "app/unitWorkingImageView.h"
#include "imaging/unitExpansionScan.h"

namespace {

class TExpansionWindowView : public IExpansionView {
 public:
  TExpansionWindowView(TPelbrookMainWindow& Window, TWorkingImageView& Image)
      : FWindow(Window), FImage(Image) {}
  ~TExpansionWindowView() override { FImage.SetImage(nullptr); }

  void SetStatusText(const std::string& Text) override { FWindow.SetStatusText(Text); }
  void SetProgress(int Value) override { FWindow.SetProgress(Value); }
  void ShowWorkingImage(const TBitmap& Image) override { FImage.SetImage(&Image); }
  void BoxCut(const TCutBox& Box) override { FImage.RepaintBox(Box); }

 private:
  TPelbrookMainWindow& FWindow;
  TWorkingImageView& FImage;
};

}  // namespace

bool TPelbrookMainWindow::ExpansionMayStart() {
  if (!HasSelectedItem()) {
    ShowMessage("Sorry. You can only Expand a sprite if you select it...", TMsgIcon::Stop);
    return false;
  }
  return ChangesSafeAfter(
      {"Warning, this operation is potentially dangerous. You have not saved your file. Do you "
       "want to save it before attempting to expand this sprite?",
       MainCaption, TMsgButtons::YesNoCancel, TMsgIcon::Exclamation, true});
}

bool TPelbrookMainWindow::RunCutter(const std::function<void()>& Cutter) {
  try {
    const TMenuDetachment Detached(*this);
    Cutter();
    return true;
  } catch (...) {
    FListBehindDocument = true;  // the failure leaves the list as it was
    ShowMessage(
        "The software crashed. I suggest you re-load your previous file and try the process "
        "manually. Sorry.",
        TMsgIcon::Information);
    return false;
  }
}

void TPelbrookMainWindow::ExpandSprite1Click() {
  if (!ExpansionMayStart()) return;
  const TMsgResult Answer = FServices.MessageBox(
      {"Warning, this operation will only function on sets of sprites arranged in a regular "
       "layout. Any attempt to perform this on a set arranged in an irregular layout may fail, "
       "and may crash the program. Do you wish to continue?",
       MainCaption, TMsgButtons::YesNo, TMsgIcon::Exclamation});
  if (Answer != TMsgResult::Yes) return;
  AutoCutter->show();
  const int Selected = SelectedItem();
  TCutterRun Started{};  // the copy for undo may fail too: inside the guard
  const bool Completed = RunCutter([&] {
    Started = StartCutterRun(Selected);
    TExpansionWindowView View(*this, *AutoCutImg);
    TExpansionScan Scan(*SpriteFile, Selected, View);
    Scan.Run();
  });
  if (Completed) PopulateImageList();
  AutoCutter->hide();
  MarkModified();
  RecordCutterRun("ExpandSprite1", std::move(Started));
}
