#include "app/unitSpriteListView.h"

#include <QKeyEvent>

namespace {

bool MovesCurrent(const QKeyEvent& Event) {
  switch (Event.key()) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return (Event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    default:
      return false;
  }
}

}  // namespace

void TSpriteListView::keyPressEvent(QKeyEvent* Event) {
  QListView::keyPressEvent(Event);
  if (MovesCurrent(*Event)) SelectCurrent();
}

void TSpriteListView::SelectCurrent() {
  const QModelIndex Current = currentIndex();
  if (Current.isValid() && !selectionModel()->isSelected(Current))
    selectionModel()->select(Current, QItemSelectionModel::ClearAndSelect);
}
