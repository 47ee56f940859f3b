// Cut by Grid on the window: the dialog with its preview, then the selected sheet replaced by
// its cells as one step of the history.

#include "app/unitPelbrookMainWindow.h"
#include "imaging/unitSheetCut.h"

void TPelbrookMainWindow::CutByGrid1Click() {
  const int Selected = SelectedItem();
  if (Selected < 0) {
    ShowMessage("Sorry. You can only Cut a sprite by its grid if you select it...", TMsgIcon::Stop);
    return;
  }
  TGridDialog Dialog{&SpriteFile->GetSprite(Selected), FGridLayout, GridCutLimit(*SpriteFile)};
  if (!FServices.ExecuteGridDialog(Dialog)) return;
  FGridLayout = Dialog.Layout;
  TGridCut Cut;
  try {
    Cut = CutByGrid(*SpriteFile, Selected, FGridLayout);
  } catch (const ESpriteLimitError&) {
    RefuseSpriteLimit("cutting this sprite by its grid");
    return;
  }
  PopulateImageList();
  SelectItem(Selected);
  SetStatusText(GridCutText(Cut, Selected));
  MarkModified();
  TSpriteRun Removed;
  Removed.push_back(std::move(Cut.Sheet));
  RecordReplace("CutByGrid1", Selected, std::move(Removed), Cut.Count);
}
