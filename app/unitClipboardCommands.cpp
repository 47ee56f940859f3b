// The clipboard's commands: single sprites out as pictures in the copy format, and pictures in
// as new sprites or over the selected one; and Delete, Cut without the clipboard.

#include <QAction>
#include <QListView>

#include "app/unitImageList.h"
#include "app/unitPelbrookMainWindow.h"
#include "app/unitThumbnailListModel.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitPixelConversions.h"

void TPelbrookMainWindow::SetCopyFormat(TMenuEntry& Entry) {
  CopyFormat = static_cast<std::uint8_t>(Entry.Tag + 2);
  Entry.Action->setChecked(true);
  SavePreferences();
}

void TPelbrookMainWindow::Copy1Click() {
  const int Current = CurrentItem();
  if (Current < 0) {
    ShowMessage("This only works if you select an item first", TMsgIcon::Exclamation);
    return;
  }
  const auto Target = MakeCopyBitmap(SpriteFile->GetSprite(Current), CopyFormat);
  FServices.SetClipboardBitmap(*Target);
  SetStatusText("Sprite Copied to Clipboard Okay");
}

void TPelbrookMainWindow::Cut1Click() {
  const int Current = CurrentItem();
  if (Current < 0) {
    ShowMessage("This only works if you select an item first", TMsgIcon::Exclamation);
    return;
  }
  Copy1Click();
  RemoveSprite(Current, "Cut1");
  SetStatusText("Sprite Cut to Clipboard Okay");
}

void TPelbrookMainWindow::Delete1Click() {
  const int Selected = SelectedItem();
  if (Selected < 0) {
    ShowMessage("This only works if you select an item first", TMsgIcon::Exclamation);
    return;
  }
  RemoveSprite(Selected, "Delete1");
  SetStatusText("Sprite Deleted Okay");
}

void TPelbrookMainWindow::RemoveSprite(int Index, const char* Entry) {
  RecordReplace(Entry, Index, SpriteFile->Take(Index, 1), 0);
  ImagesModel->Remove(Index);
  MarkModified();
  // The items keep their pictures: only the numbers in the captions move.
  RenumberCaptions(0, SpriteFile->Count() - 1);
}

void TPelbrookMainWindow::Paste1Click() {
  if (!FServices.ClipboardHasFormat(TClipboardFormat::Bitmap)) {
    ShowMessage("Unable to paste unless bitmap is in clipboard", TMsgIcon::Exclamation);
    return;
  }
  if (FServices.ClipboardHasFormat(TClipboardFormat::Palette))
    FServices.MessageBox(
        {"pal provided", FServices.ApplicationTitle(), TMsgButtons::Ok, TMsgIcon::None});
  const auto Bitmap15 = MakePasteBitmap(*FServices.ReadClipboardBitmap());
  auto Sprite = std::make_unique<TS16Sprite>();
  Bitmap15ToSprite(*Bitmap15, *Sprite);
  const int Index = InsertAt(std::move(Sprite), SelectedItem());
  PopulateImageList();
  SetStatusText("Sprite pasted from Clipboard Okay");
  MarkModified();
  RecordReplace("Paste1", Index, {}, 1);
}

void TPelbrookMainWindow::PasteOver1Click() {
  const int Selected = SelectedItem();
  if (Selected < 0) {
    ShowMessage("Sorry, you cannot use this function unless you have an image selected.",
                TMsgIcon::Information);
    return;
  }
  if (!FServices.ClipboardHasFormat(TClipboardFormat::Bitmap)) {
    ShowMessage("Sorry, you cannot use this function unless you have a bitmap on the clipboard.",
                TMsgIcon::Information);
    return;
  }
  const auto Bitmap15 = MakePasteBitmap(*FServices.ReadClipboardBitmap());
  TSpriteRun Removed;
  Removed.push_back(SpriteFile->GetSprite(Selected).Clone());
  Bitmap15ToSprite(*Bitmap15, SpriteFile->GetSprite(Selected));
  // The caption keeps the old size until the next rebuild; the new picture is appended.
  if (const std::string Why = MakeThumbnail(*Bitmap15, Selected); !Why.empty())
    ShowWarning(InaccurateThumbnailsText, TMsgIcon::Exclamation, Why);
  ImagesModel->SetImageIndex(Selected, Thumbnails->Count() - 1);
  Images->viewport()->update();
  MarkModified();
  RecordReplace("PasteOver1", Selected, std::move(Removed), 1);
}
