// Undo and redo, the moves that arrange the list, and the viewers that follow the document
// through them.

#include <QAction>
#include <QListView>

#include "app/unitPelbrookMainWindow.h"
#include "app/unitSpriteViewer.h"
#include "app/unitThumbnailListModel.h"
#include "imaging/unitSheetCut.h"

namespace {

// A step is named as the menu names its command.
QString StepText(const QAction& Entry) {
  return QString(Entry.text()).remove('&');
}

}  // namespace

void TPelbrookMainWindow::RecordReplace(const char* Entry, int Index, TSpriteRun Removed,
                                        int Inserted) {
  const TDocumentChange Change{TDocumentChange::TKind::Replaced, Index,
                               static_cast<int>(Removed.size()), Inserted, 0};
  History.Record(std::make_unique<TReplaceStep>(StepText(*MenuEntry(Entry).Action), *SpriteFile,
                                                Index, std::move(Removed), Inserted));
  FollowChange(Change);
}

void TPelbrookMainWindow::RecordCutterRun(const char* Entry, TSheetCut& Cut) {
  std::unique_ptr<TS16Sprite> Composite = Cut.TakeComposite();
  if (!Composite) return;
  TSpriteRun Removed;
  Removed.push_back(std::move(Composite));
  RecordReplace(Entry, Cut.Index(), std::move(Removed), Cut.Inserted());
}

void TPelbrookMainWindow::Undo1Click() {
  if (History.CanUndo()) ShowHistoryChange(History.Undo());
}

void TPelbrookMainWindow::Redo1Click() {
  if (History.CanRedo()) ShowHistoryChange(History.Redo());
}

void TPelbrookMainWindow::ShowHistoryChange(const TDocumentChange& Change) {
  // Back where it was last opened or saved, the document has nothing left to save.
  Modified = !History.IsClean();
  SetCaption(Modified);
  FollowChange(Change);
  if (Change.Kind == TDocumentChange::TKind::Moved) {
    MoveListItem(Change.Index, Change.To);
    SelectItem(Change.To);
    return;
  }
  PopulateImageList();
  SelectItem(std::min(Change.Index, SpriteFile->Count() - 1));
}

void TPelbrookMainWindow::MoveEarlier1Click() {
  const int Selected = SelectedItem();
  MoveSprite(Selected, Selected - 1, StepText(*MenuEntry("MoveEarlier1").Action));
}

void TPelbrookMainWindow::MoveLater1Click() {
  const int Selected = SelectedItem();
  MoveSprite(Selected, Selected + 1, StepText(*MenuEntry("MoveLater1").Action));
}

bool TPelbrookMainWindow::MoveSprite(int From, int To, const QString& Text) {
  const int Count = SpriteFile->Count();
  if (!FMenuAttached || From < 0 || To < 0 || From >= Count || To >= Count || From == To)
    return false;
  SpriteFile->Put(To, SpriteFile->Take(From, 1));
  MoveListItem(From, To);
  SelectItem(To);
  MarkModified();
  History.Record(std::make_unique<TMoveStep>(Text, From, To));
  FollowChange({TDocumentChange::TKind::Moved, From, 0, 0, To});
  return true;
}

void TPelbrookMainWindow::MoveListItem(int From, int To) {
  ImagesModel->Move(From, To);
  RenumberCaptions(std::min(From, To), std::max(From, To));
}

void TPelbrookMainWindow::SelectItem(int Index) {
  if (Index >= 0 && Index < ImagesModel->rowCount())
    Images->setCurrentIndex(ImagesModel->index(Index));
}

void TPelbrookMainWindow::OpenViewer(int Index) {
  if (Index < 0 || Index >= SpriteFile->Count()) return;
  auto* Viewer = new TSpriteViewer(this, SpriteFile, Index);
  Viewers.emplace_back(Viewer);
  Viewer->show();
}

void TPelbrookMainWindow::FollowChange(const TDocumentChange& Change) {
  std::erase_if(Viewers, [&](const QPointer<TSpriteViewer>& Viewer) {
    if (!Viewer) return true;
    if (Viewer->FollowChange(Change)) return false;
    Viewer->close();
    return true;
  });
}

void TPelbrookMainWindow::ForgetDocument() {
  History.Clear();
  for (const QPointer<TSpriteViewer>& Viewer : Viewers)
    if (Viewer) Viewer->close();
  Viewers.clear();
}
