// Files dropped on the window: a sprite file opens as one named on the command line does;
// pictures come in as Import From brings them, before the item under the drop point.

#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "app/unitPelbrookMainWindow.h"
#include "sprites/unitSpriteFileRoutes.h"

namespace {

// The name's bytes as the URL encodes them: decoding them as text would lose those that are
// not valid in it (a Latin-1 "caf\xE9.s16").
std::string LocalFileName(const QUrl& Url) {
  const QByteArray Path = QByteArray::fromPercentEncoding(Url.path(QUrl::FullyEncoded).toLatin1());
  return (Url.host().isEmpty() ? Path : "//" + Url.host().toUtf8() + Path).toStdString();
}

std::vector<std::string> LocalFiles(const QMimeData* Data) {
  std::vector<std::string> Paths;
  if (!Data) return Paths;
  for (const QUrl& Url : Data->urls())
    if (Url.isLocalFile()) Paths.push_back(LocalFileName(Url));
  return Paths;
}

// A drop is a command: none is taken while the menu is off the window. The files are only
// read, so the drag's source is told they were copied, never moved.
bool TakeAsCopy(QDropEvent& Event, bool MenuAttached) {
  if (!MenuAttached || !(Event.possibleActions() & Qt::CopyAction) ||
      LocalFiles(Event.mimeData()).empty())
    return false;
  Event.setDropAction(Qt::CopyAction);
  Event.accept();
  return true;
}

}  // namespace

void TPelbrookMainWindow::dragEnterEvent(QDragEnterEvent* Event) {
  TakeAsCopy(*Event, FMenuAttached);
}

void TPelbrookMainWindow::dropEvent(QDropEvent* Event) {
  if (!TakeAsCopy(*Event, FMenuAttached)) return;
  const QModelIndex Target =
      Images->indexAt(Images->viewport()->mapFrom(this, Event->position().toPoint()));
  // The drag's source waits for the drop to end: the files are taken in once it has.
  QMetaObject::invokeMethod(
      this,
      [this, Paths = LocalFiles(Event->mimeData()), Index = Target.isValid() ? Target.row() : -1] {
        if (FMenuAttached) RunCommand([&] { FilesDropped(Paths, Index); }, true);
      },
      Qt::QueuedConnection);
}

void TPelbrookMainWindow::FilesDropped(const std::vector<std::string>& Paths, int Index) {
  const auto SpriteFileDropped = std::find_if(Paths.begin(), Paths.end(), IsSpriteFileName);
  if (SpriteFileDropped != Paths.end()) {
    OpenNamedFile(*SpriteFileDropped);
    return;
  }
  const std::string* Imported = nullptr;
  int First = -1, Count = 0;
  for (const std::string& Path : Paths) {
    const int At = InsertImportedImage(Path, Index);
    if (At < 0) continue;
    if (Index >= 0) ++Index;
    if (Count++ == 0) First = At;
    Imported = &Path;
  }
  if (!Imported) return;
  PopulateImageList();
  SetStatusText("Image imported from: " + *Imported);
  MarkModified();
  // The pictures of one drop stand side by side: one step undoes them all.
  RecordReplace("ImportFrom1", First, {}, Count);
}
