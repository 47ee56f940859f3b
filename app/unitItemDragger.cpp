#include "app/unitItemDragger.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>

TItemDragger::TItemDragger(QAbstractItemView& View, std::function<void(int From, int To)> OnMove)
    : QObject(&View), FView(View), FViewport(View.viewport()), FOnMove(std::move(OnMove)) {
  FViewport->installEventFilter(this);
}

bool TItemDragger::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched != FViewport) return false;
  const QEvent::Type Type = Event->type();
  if (Type != QEvent::MouseButtonPress && Type != QEvent::MouseMove &&
      Type != QEvent::MouseButtonRelease)
    return false;
  const auto* Mouse = static_cast<QMouseEvent*>(Event);
  const QPoint Point = Mouse->position().toPoint();
  if (Type == QEvent::MouseButtonPress) {
    if (FDragging) FViewport->unsetCursor();
    FFrom = Mouse->button() == Qt::LeftButton ? FView.indexAt(Point).row() : -1;
    FStart = Point;
    FDragging = false;
    return false;
  }
  if (FFrom < 0) return false;
  if (Type == QEvent::MouseMove) {
    if (!FDragging && (Point - FStart).manhattanLength() >= QApplication::startDragDistance()) {
      FDragging = true;
      FViewport->setCursor(Qt::ClosedHandCursor);
    }
    return FDragging;
  }
  const int From = std::exchange(FFrom, -1);
  if (!std::exchange(FDragging, false)) return false;
  FViewport->unsetCursor();
  if (!FViewport->rect().contains(Point)) return true;  // let go outside the list: no move
  const QModelIndex Target = FView.indexAt(Point);
  FOnMove(From, Target.isValid() ? Target.row() : FView.model()->rowCount() - 1);
  return true;
}
