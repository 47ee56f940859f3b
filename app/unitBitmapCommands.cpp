// Import From and Export To: single sprites in from and out to BMP files.

#include "app/unitPelbrookMainWindow.h"
#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"

void TPelbrookMainWindow::ImportFrom1Click() {
  if (!FServices.ExecuteFileDialog(Importbmp)) return;
  const std::string Path = Importbmp.FileName;
  std::unique_ptr<TBitmap> FileBitmap;
  try {
    FileBitmap = LoadBmpFile(Path);
  } catch (const std::exception&) {
    ShowMessage("Failed during LoadBitmap", TMsgIcon::Exclamation);
    return;
  }
  const int Index = InsertAtSelection(SpriteFromImportedBitmap(*FileBitmap));
  FileBitmap.reset();
  PopulateImageList();
  SetStatusText("Image imported from: " + Path);
  MarkModified();
  RecordReplace("ImportFrom1", Index, {}, 1);
}

void TPelbrookMainWindow::ExportTo1Click() {
  const int Selected = SelectedItem();
  if (Selected < 0) {
    ShowMessage("Sorry. You can only exportan image if you have one selected.", TMsgIcon::Stop);
    return;
  }
  if (!FServices.ExecuteFileDialog(Exportbmp)) return;
  const std::string Path = Exportbmp.FileName;
  SaveBmpFile(*MakeExportBitmap(SpriteFile->GetSprite(Selected), Exportbmp.FilterIndex), Path);
  SetStatusText("Export to: " + Path + " completed.");
}
