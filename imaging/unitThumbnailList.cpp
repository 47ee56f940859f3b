// The thumbnail list: one item per sprite with its caption, and a picture of each sprite
// scaled by the resampler, rebuilt from nothing after every change of the sprite list.

#include <QAction>
#include <QFontMetrics>
#include <QListView>

#include "app/unitImageList.h"
#include "app/unitPelbrookMainWindow.h"
#include "app/unitThumbnailListModel.h"
#include "imaging/unitThumbnailMaker.h"
#include "platform/unitErrorReason.h"

namespace {

// The sprites of one rebuild whose pictures may be wrong.
class TInaccurateThumbnails {
 public:
  void Note(int Index, const std::string& Reason) {
    if (Reason.empty()) return;
    if (FCount++ == 0) FFirst = "sprite " + std::to_string(Index) + ": " + Reason;
  }
  int Count() const { return FCount; }
  std::string StatusText(int Sprites) const {
    std::string Text = "Thumbnails generated.";
    if (FCount == 0) return Text;
    return Text + " " + std::to_string(FCount) + " of " + std::to_string(Sprites) +
           " may be inaccurate.";
  }
  std::string Detail(int Sprites) const {
    return "Sprites without an accurate thumbnail: " + std::to_string(FCount) + " of " +
           std::to_string(Sprites) + ". The first is " + FFirst;
  }

 private:
  int FCount = 0;
  std::string FFirst;
};

}  // namespace

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
  TInaccurateThumbnails Inaccurate;
  {
    const TMenuDetachment Detached(*this);
    FServices.ProcessMessages();
    // A command run from inside the loop may change the preference: resume what was suspended.
    const bool Suspended = FasterUpdate;
    if (Suspended) Images->setUpdatesEnabled(false);
    Thumbnails->Reserve(SpriteFile->Count());
    std::vector<TThumbnailOutcome> Made;
    int MadeFrom = 0;
    for (int I = 0; I < SpriteFile->Count(); ++I) {
      try {
        if (SpriteFile->Count() > 1) SetProgress(LoopPercent(I, SpriteFile->Count()));
        if (RebuildSuperseded(Rebuild)) break;
        if (I - MadeFrom >= int(Made.size())) {
          Made = ThumbnailsOfTheStep(I);
          MadeFrom = I;
        }
        TThumbnailOutcome& Outcome = Made[std::size_t(I - MadeFrom)];
        if (Outcome.Failure) std::rethrow_exception(Outcome.Failure);
        Inaccurate.Note(I, AddThumbnail(std::move(Outcome.Made)));
      } catch (const std::exception& Error) {
        Inaccurate.Note(I, ErrorMessage(Error));
      }
    }
    if (!RebuildSuperseded(Rebuild)) {
      SetStatusText(Inaccurate.StatusText(SpriteFile->Count()));
      SetProgress(-1);
    }
    if (Suspended) Images->setUpdatesEnabled(true);
  }
  // One box however many sprites: a file of thousands must not raise thousands.
  if (Inaccurate.Count() > 0 && !RebuildSuperseded(Rebuild))
    ShowWarning(InaccurateThumbnailsText, TMsgIcon::Exclamation,
                Inaccurate.Detail(SpriteFile->Count()));
}

// The thumbnails of sprite First and of those after it up to where the progress next moves:
// messages run only there, so no command can change these sprites before they are added.
// They are made together, on the processor's cores.
std::vector<TThumbnailOutcome> TPelbrookMainWindow::ThumbnailsOfTheStep(int First) const {
  const int Count = SpriteFile->Count();
  std::vector<const TS16Sprite*> Sprites{&SpriteFile->GetSprite(First)};
  for (int I = First + 1; I < Count && LoopPercent(I, Count) == LoopPercent(First, Count); ++I)
    Sprites.push_back(&SpriteFile->GetSprite(I));
  return MakeThumbnails(Sprites, ThumbnailSettings());
}

TThumbnailSettings TPelbrookMainWindow::ThumbnailSettings() const {
  return {ThumbnailSize, FitIntoThumbnail, UseBetterResample};
}

std::string TPelbrookMainWindow::MakeThumbnail(TBitmap& Source, int Index) {
  const TS16Sprite& Sprite = SpriteFile->GetSprite(Index);
  return AddThumbnail(
      ::MakeThumbnail(Source, Sprite.Width(), Sprite.Height(), ThumbnailSettings()));
}

std::string TPelbrookMainWindow::AddThumbnail(TThumbnail Thumbnail) {
  Thumbnails->Add(Thumbnail.Image);
  // Only an item in sight repaints: the list is not painted whole for each new picture.
  const int Added = Thumbnails->Count() - 1;
  if (Added < ImagesModel->rowCount() && ImagesModel->Item(Added).ImageIndex == Added)
    Images->update(ImagesModel->index(Added));
  else
    Images->viewport()->update();
  return std::move(Thumbnail.ResampleError);
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
