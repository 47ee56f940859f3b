// Expand Sprite on the window: the prompts, the working image shown at 1:1 while the passes cut
// it apart, and the end of both cutters, whether they ran through or failed.

#include <QScopedValueRollback>
#include <QScrollArea>
#include <utility>

#include "app/unitPacedExpansionView.h"
#include "app/unitPelbrookMainWindow.h"
#include "imaging/unitExpansionScan.h"
#include "imaging/unitManualCut.h"

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

void TPelbrookMainWindow::RefuseSpriteLimit(const std::string& Cut) {
  const std::string Text = "Sorry. A sprite file can only hold " +
                           std::to_string(TS16File::MaxSprites) + " sprites, and " + Cut +
                           " would make more. Your file has been left as it was.";
  ShowMessage(Text.c_str(), TMsgIcon::Stop);
}

void TPelbrookMainWindow::RunCutter(QWidget& View, const std::function<bool()>& Cutter) {
  bool Changed = false;
  bool Failed = true;
  try {
    const TMenuDetachment Detached(*this);
    Changed = Cutter();
    Failed = false;
  } catch (const ESpriteLimitError&) {
    RefuseSpriteLimit("expanding this sprite");
  } catch (...) {
    ShowMessage(
        "The software crashed. I suggest you re-load your previous file and try the process "
        "manually. Sorry.",
        TMsgIcon::Information);
  }
  // Modified before the rebuild lets messages run: a close then asks about the cuts.
  if (Changed) Modified = true;
  if (Changed || Failed)
    PopulateImageList();
  else
    SetProgress(-1);  // stopped: the list is the document's, the progress is over
  View.hide();
  if (Changed) MarkModified();
  if (std::exchange(FCloseWhenCutterEnds, false)) close();
}

TSheetCut* TPelbrookMainWindow::RunningCutter() const {
  if (FManualCut) return FManualCut;
  return FExpansion;
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
  RunCutter(*AutoCutter, [&] {
    TPacedExpansionView View(*this, *AutoCutImg, FServices);
    TExpansionScan Scan(*SpriteFile, Selected, View);
    const QScopedValueRollback Running(FExpansion, &Scan);
    if (!Scan.Run()) return false;
    View.Flush();
    RecordCutterRun("ExpandSprite1", Scan);
    return true;
  });
}
