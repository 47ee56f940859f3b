// Import From and Export To: single sprites in from and out to BMP and PNG files.

#include "app/unitPelbrookMainWindow.h"
#include "platform/qt/unitImageImport.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitErrorReason.h"
#include "sprites/unitBitmapRoutes.h"

int TPelbrookMainWindow::InsertImportedImage(const std::string& Path, int Index) {
  std::unique_ptr<TImageImport> Image;
  try {
    Image = std::make_unique<TImageImport>(Path);
  } catch (const std::exception& Error) {
    ShowMessage("Failed during LoadBitmap", TMsgIcon::Exclamation, FailureNamingFile(Path, Error));
    return -1;
  }
  return InsertAt(Image->MakeSprite(), Index);
}

void TPelbrookMainWindow::ImportFrom1Click() {
  if (!RunFileDialog(Importbmp)) return;
  const std::string Path = Importbmp.FileName;
  const int Index = InsertImportedImage(Path, SelectedItem());
  if (Index < 0) return;
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
  if (!RunFileDialog(Exportbmp)) return;
  const std::string Path = Exportbmp.FileName;
  SaveExportFile(SpriteFile->GetSprite(Selected), Exportbmp.FilterIndex, Path);
  SetStatusText("Export to: " + Path + " completed.");
}

void TPelbrookMainWindow::ImportbmpTypeChange(TFileDialog& Dialog) {
  Dialog.DefaultExt = Dialog.FilterIndex == 2 ? "png" : "bmp";
}

void TPelbrookMainWindow::ExportbmpTypeChange(TFileDialog& Dialog) {
  Dialog.DefaultExt = Dialog.FilterIndex == ExportFilterPng ? "png" : "bmp";
}
