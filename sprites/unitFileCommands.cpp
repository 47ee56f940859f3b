// Open, Save and Save As on the main window. Open reads the format of the filter the user
// picks; Save As writes the one a typed extension names, else the filter's.

#include <utility>

#include "app/unitPelbrookMainWindow.h"
#include "imaging/unitSheetCut.h"
#include "platform/unitErrorReason.h"
#include "sprites/unitSpriteFileRoutes.h"

void TPelbrookMainWindow::Open1Click() {
  // Opening replaces the document: unsaved work is asked about as New asks.
  if (!ChangesMayBeReplaced()) return;
  if (!RunFileDialog(OpenSpriteFile)) return;
  OpenDocument(OpenSpriteFile.FileName, OpenSpriteFile.FilterIndex == 2);
}

void TPelbrookMainWindow::OpenNamedFile(const std::string& Path) {
  if (!ChangesMayBeReplaced()) return;
  OpenDocument(Path, IsSprFileName(Path));
}

void TPelbrookMainWindow::OpenDocument(const std::string& Path, bool AsSpr) {
  // Taken before reading, so that a change made meanwhile counts as one.
  TKnownFile Known{Path, FileStampOf(Path)};
  TFileExtent Extent;
  bool Whole = false, SpritesLeftOut = false;
  if (AsSpr) {
    SaveFormat = SaveFormatSpr;
    try {
      // The reader has told the user about the first sprite it left out at most; one box
      // sums up the rest.
      const TSprOpenResult Result = OpenSprDocument(*SpriteFile, Path, *SprLoader);
      Whole = Result.Whole;
      Extent = Result.Extent;
      SpritesLeftOut = Result.LeftOut > 0;
      if (Result.LeftOut > Result.Told)
        FServices.MessageBox(
            {Result.LeftOutText(Path), "Sprite Loader", TMsgButtons::Ok, TMsgIcon::Stop});
    } catch (...) {
      // The document is already emptied: a later Save must not write it over the file that
      // was open, so it becomes untitled, and the list shows it as it is.
      ResetToUntitled();
      ForgetDocument();
      ClearImages();
      PopulateImageList();
      throw;
    }
  } else {
    try {
      SaveFormat = OpenS16Document(*SpriteFile, Path, &Extent);
      Whole = Extent.Whole();
    } catch (const std::exception& Error) {
      SpriteFile = std::make_unique<TS16File>();
      ForgetDocument();
      ResetToUntitled();
      ShowWarning("Error Whilst loading S16 file.", TMsgIcon::Exclamation,
                  FailureNamingFile(Path, Error));
      ClearImages();
      PopulateImageList();
      return;
    }
  }
  // A file that is not exactly what the chosen format makes of it (opened through the wrong
  // filter, cut short, or with bytes it does not name) is not saved over unasked: the document
  // is untitled, so Save asks for a name.
  FileName = Whole ? Path : std::string();
  FKnownFile = Whole ? std::move(Known) : TKnownFile{};
  StartDialogsBesideFile();
  MarkClean();
  RememberFile(Path);
  ForgetDocument();
  ClearImages();
  PopulateImageList();
  if (!Whole && !SpritesLeftOut)
    ShowWarning(
        "Opened as Untitled, so that Save does not write over a file it could not read "
        "exactly.",
        TMsgIcon::Exclamation, Extent.Text(Path));
}

void TPelbrookMainWindow::Save1Click() {
  if (FileName.empty()) {
    SaveAs1Click();
    return;
  }
  if (!OverwriteAllowed()) return;
  {
    // The status text and the .spr writer's progress let messages run: no command may change
    // the document or its name while it is written.
    const TMenuDetachment Detached(*this);
    if (SaveFormat == SaveFormatSpr) {
      std::string Status = "Saving file ";
      SetStatusText(Status.append(FileName).append(" in T1 Compatibility Mode..."));
    }
    const auto Write = [this] { SaveDocument(*SpriteFile, SaveFormat, FileName, *this); };
    // A cutter has its sheet out of the document: the file gets it back, after the cuts.
    if (TSheetCut* Cutter = RunningCutter())
      Cutter->WithCompositeKept(Write);
    else
      Write();
  }
  FKnownFile = {FileName, FileStampOf(FileName)};
  MarkClean();
  RememberFile(FileName);
  std::string Status = "File ";
  SetStatusText(Status.append(FileName).append(" saved."));
  PopulateImageList();
}

bool TPelbrookMainWindow::OverwriteAllowed() {
  if (!FKnownFile.ChangedBeforeSaveTo(FileName)) return true;
  const TMessageBoxRequest Question{
      FileName + " has been changed by another program since it was opened. Overwrite it?",
      MainCaption, TMsgButtons::YesNo, TMsgIcon::Question, true};
  return FServices.MessageBox(Question) == TMsgResult::Yes;
}

void TPelbrookMainWindow::SaveAs1Click() {
  if (!RunFileDialog(SaveFile)) return;
  const std::string EarlierName = std::exchange(FileName, SaveFile.FileName);
  const int EarlierFormat = std::exchange(SaveFormat, SaveFile.FilterIndex);
  StartDialogsBesideFile();
  try {
    Save1Click();
  } catch (...) {
    // A name that could not be written is not the document's: Save asks again.
    FileName = EarlierName;
    SaveFormat = EarlierFormat;
    throw;
  }
}

void TPelbrookMainWindow::SaveFileTypeChange(TFileDialog& Dialog) {
  Dialog.DefaultExt = Dialog.FilterIndex == 3 ? "spr" : "s16";
}

void TPelbrookMainWindow::OpenSpriteFileTypeChange(TFileDialog& Dialog) {
  Dialog.DefaultExt = Dialog.FilterIndex == 1 ? "s16" : "spr";
}
