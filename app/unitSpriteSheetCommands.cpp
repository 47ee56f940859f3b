// File > Export Sprite Sheet… and Import Sprite Sheet…: sprites to and from one PNG with a
// JSON atlas beside it, as 2D game engines load them.

#include <QCoreApplication>
#include <filesystem>

#include "app/unitPelbrookMainWindow.h"
#include "platform/qt/unitSheetFiles.h"
#include "platform/unitErrorReason.h"

namespace {

TSheetOptions SheetOptionsOf(const TSheetExportSettings& Settings) {
  TSheetOptions Options;
  Options.Pack = {Settings.MaxRects ? TSheetPacking::MaxRects : TSheetPacking::Rows,
                  Settings.Padding, Settings.PowerOfTwo};
  Options.Trim = Settings.Trim;
  Options.NamePattern = Settings.NamePattern;
  return Options;
}

}  // namespace

void TPelbrookMainWindow::SetUpSheetDialogs() {
  ExportSheet.Title = "Export Sprite Sheet";
  ExportSheet.Kind = TFileDialogKind::Save;
  ExportSheet.Filter = "PNG Files (*.png)|*.png";
  ExportSheet.DefaultExt = "png";
  ExportSheet.HideReadOnly = ExportSheet.OverwritePrompt = ExportSheet.PathMustExist = true;
  ExportSheet.ExtensionPicksFilter = true;
  // The atlas is what is asked for: it names its picture.
  ImportSheet.Title = "Import Sprite Sheet";
  ImportSheet.Kind = TFileDialogKind::Open;
  ImportSheet.Filter = "JSON Atlas Files (*.json)|*.json";
  ImportSheet.DefaultExt = "json";
  ImportSheet.HideReadOnly = true;
}

void TPelbrookMainWindow::ExportSpriteSheet1Click() {
  const int Count = SpriteFile->Count();
  if (Count == 0) {
    ShowMessage("There are no sprites to put on a sprite sheet.", TMsgIcon::Stop);
    return;
  }
  SheetExport.SpriteCount = Count;
  // Until a range is chosen, the one offered is the whole file.
  SheetExport.First = SheetExport.AllSprites ? 0 : std::clamp(SheetExport.First, 0, Count - 1);
  SheetExport.Last = SheetExport.AllSprites
                         ? Count - 1
                         : std::clamp(SheetExport.Last, SheetExport.First, Count - 1);
  if (!FServices.ExecuteSheetExportDialog(SheetExport)) return;
  const int First = SheetExport.AllSprites ? 0 : std::min(SheetExport.First, SheetExport.Last);
  const int Last =
      SheetExport.AllSprites ? Count - 1 : std::max(SheetExport.First, SheetExport.Last);
  if (!RunFileDialog(ExportSheet)) return;
  const std::string SheetPath = ExportSheet.FileName;
  const std::string AtlasPath = AtlasPathFor(SheetPath);
  const std::string Question = AtlasPath + " already exists.\nDo you want to replace it?";
  if (std::filesystem::exists(AtlasPath) &&
      FServices.MessageBox({Question, MainCaption, TMsgButtons::YesNo, TMsgIcon::Question, true}) !=
          TMsgResult::Yes)
    return;
  try {
    const TMenuDetachment Detached(*this);
    SaveSpriteSheet(*SpriteFile, First, Last, SheetOptionsOf(SheetExport),
                    SheetExport.ArrayForm ? TAtlasForm::Array : TAtlasForm::Hash, SheetPath,
                    AtlasPath, QCoreApplication::applicationVersion().toStdString());
  } catch (const std::exception& Error) {
    ShowMessage("Unable to export the sprite sheet", TMsgIcon::Stop,
                FailureNamingFile(SheetPath, Error));
    return;
  }
  SetStatusText("Sprite sheet exported to: " + SheetPath + " and " + AtlasPath);
}

void TPelbrookMainWindow::ImportSpriteSheet1Click() {
  if (!RunFileDialog(ImportSheet)) return;
  const std::string AtlasPath = ImportSheet.FileName;
  std::string Reading = AtlasPath;  // the file a failure is about
  std::vector<std::unique_ptr<TS16Sprite>> Sprites;
  try {
    const TSheetAtlas Atlas = LoadSheetAtlas(AtlasPath);
    const std::size_t Frames = Atlas.Frames.size();
    if (Frames == 0) throw ESpriteError("The atlas holds no frames");
    if (SpriteFile->Count() + Frames > std::size_t(TS16File::MaxSprites))
      throw ESpriteError("Its " + std::to_string(Frames) +
                         " frames would give the file more than " +
                         std::to_string(TS16File::MaxSprites) + " sprites");
    Reading = SheetPathOf(AtlasPath, Atlas);
    Sprites = LoadSheetSprites(Reading, Atlas);
  } catch (const std::exception& Error) {
    ShowMessage("Unable to import the sprite sheet", TMsgIcon::Exclamation,
                FailureNamingFile(Reading, Error));
    return;
  }
  const int Selected = SelectedItem();
  const int First = Selected < 0 ? SpriteFile->Count() : Selected;
  const int Inserted = int(Sprites.size());
  SpriteFile->Put(First, std::move(Sprites));
  PopulateImageList();
  SetStatusText("Sprite sheet imported from: " + AtlasPath);
  MarkModified();
  RecordReplace("ImportSpriteSheet1", First, {}, Inserted);
}
