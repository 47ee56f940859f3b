// The thumbnail list: one item per sprite with its caption, and a picture of each sprite
// scaled by the resampler, rebuilt from nothing after every change of the sprite list.

#include <QAction>
#include <QFontMetrics>
#include <QListView>

#include "app/unitImageList.h"
#include "app/unitPelbrookMainWindow.h"
#include "app/unitThumbnailListModel.h"
#include "imaging/unitThumbnailMaker.h"
#include "sprites/unitPixelConversions.h"

void TPelbrookMainWindow::ApplyThumbnailSize() {
  Thumbnails->SetSize(ThumbnailSize);
  Images->setIconSize(QSize(ThumbnailSize, ThumbnailSize));
  // A fixed grid lays out tens of thousands of items without measuring each one; captions
  // such as "[65534] - 1024 by 1024" wrap onto two lines.
  const int LineHeight = QFontMetrics(Images->font()).height();
  const QSize Cell(std::max(ThumbnailSize + 16, 96), ThumbnailSize + 2 * LineHeight + 12);
  ImagesModel->SetItemSize(Cell - QSize(4, 4));
  Images->setGridSize(Cell);
}

// The loops let messages run, so a command may start a rebuild inside a running one (Save from
// the close query, a preference chosen while items are made). The inner rebuild makes the
// whole list; the outer one then stops where it is instead of adding to it. Closing the window
// stops it too.
bool TPelbrookMainWindow::RebuildSuperseded(unsigned Rebuild) const {
  return Rebuild != FRebuildCount;
}

void TPelbrookMainWindow::PopulateImageList() {
  const unsigned Rebuild = ++FRebuildCount;
  SetStatusText("Populating Images List...");
  FServices.ProcessMessages();
  ApplyThumbnailSize();
  Images->setUpdatesEnabled(false);
  ImagesModel->BeginUpdate();
  ImagesModel->Clear();
  // The count is read afresh: a command chosen while the loop lets messages run may change it.
  for (int I = 0; I < SpriteFile->Count(); ++I) {
    try {
      if (SpriteFile->Count() > 1) SetProgress(LoopPercent(I, SpriteFile->Count()));
      if (RebuildSuperseded(Rebuild)) break;
      const TS16Sprite& Sprite = SpriteFile->GetSprite(I);
      ImagesModel->Append({ItemCaption(I, Sprite.Width(), Sprite.Height()), I});
    } catch (const std::exception&) {
      ShowWarning("Warning, The List may not be displayed correctly.", TMsgIcon::Information);
    }
  }
  ImagesModel->EndUpdate();
  Images->setUpdatesEnabled(true);
  if (RebuildSuperseded(Rebuild)) return;
  Images->repaint();
  SetStatusText("Listbox Updated");
  GenerateThumbnails();
  SetProgress(-1);
}

void TPelbrookMainWindow::RenumberCaptions(int First, int Last) {
  for (int K = First; K <= Last; ++K) {
    const TS16Sprite& Sprite = SpriteFile->GetSprite(K);
    ImagesModel->SetCaption(K, ItemCaption(K, Sprite.Width(), Sprite.Height()));
  }
}

void TPelbrookMainWindow::GenerateThumbnails() {
  const unsigned Rebuild = FRebuildCount;
  ApplyThumbnailSize();
  Thumbnails->Clear();
  if (MenuEntry("Off1").Action->isChecked()) return;
  SetStatusText("Generating Thumbnails...");
  const TMenuDetachment Detached(*this);
  FServices.ProcessMessages();
  // A command run from inside the loop may change the preference: resume what was suspended.
  const bool Suspended = FasterUpdate;
  if (Suspended) Images->setUpdatesEnabled(false);
  Thumbnails->Reserve(SpriteFile->Count());
  for (int I = 0; I < SpriteFile->Count(); ++I) {
    try {
      if (SpriteFile->Count() > 1) SetProgress(LoopPercent(I, SpriteFile->Count()));
      if (RebuildSuperseded(Rebuild)) break;
      const std::unique_ptr<TBitmap> Source = SpriteToBitmap(SpriteFile->GetSprite(I));
      MakeThumbnail(*Source, I);
    } catch (const std::exception&) {
      ShowWarning("The Thumbnails may be inaccurate", TMsgIcon::Exclamation);
    }
  }
  if (!RebuildSuperseded(Rebuild)) {
    SetStatusText("Thumbnails generated.");
    SetProgress(-1);
  }
  if (Suspended) Images->setUpdatesEnabled(true);
}

void TPelbrookMainWindow::MakeThumbnail(TBitmap& Source, int Index) {
  const TS16Sprite& Sprite = SpriteFile->GetSprite(Index);
  const TThumbnailSettings Settings{ThumbnailSize, FitIntoThumbnail, UseBetterResample};
  const TThumbnail Thumbnail = ::MakeThumbnail(Source, Sprite.Width(), Sprite.Height(), Settings);
  if (!Thumbnail.ResampleError.empty())
    ShowWarning("The Thumbnails may be inaccurate", TMsgIcon::Exclamation);
  Thumbnails->Add(Thumbnail.Image);
  // Only an item in sight repaints: the list is not painted whole for each new picture.
  const int Added = Thumbnails->Count() - 1;
  if (Added < ImagesModel->rowCount() && ImagesModel->Item(Added).ImageIndex == Added)
    Images->update(ImagesModel->index(Added));
  else
    Images->viewport()->update();
}

void TPelbrookMainWindow::StoreThumbnailPreference() {
  SavePreferences();
  if (ImagesModel->Count() > 0) PopulateImageList();
}

// Each entry has toggled its own tick by the time its command runs.
void TPelbrookMainWindow::Off1Click() {
  StoreThumbnailPreference();
}

void TPelbrookMainWindow::SetSize(TMenuEntry& Entry) {
  ThumbnailSize = Entry.Tag;
  SavePreferences();
  Entry.Action->setChecked(true);
  if (ImagesModel->Count() > 0) PopulateImageList();
}

void TPelbrookMainWindow::SetScale() {
  FitIntoThumbnail = !MenuEntry("Scalestosquare1").Action->isChecked();
  StoreThumbnailPreference();
}

void TPelbrookMainWindow::SetResampleFilter() {
  FasterUpdate = MenuEntry("FastResample1").Action->isChecked();
  StoreThumbnailPreference();
}

void TPelbrookMainWindow::BetterResample1Click() {
  UseBetterResample = MenuEntry("BetterResample1").Action->isChecked() ? 1 : 0;
  StoreThumbnailPreference();
}
