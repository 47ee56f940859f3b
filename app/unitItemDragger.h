#pragma once
// Moves an item of a list view by dragging it with the left button onto another item's place,
// or past the last item to the end. The view sees none of the drag, so its selection stays.

#include <QObject>
#include <QPoint>
#include <functional>

class QAbstractItemView;
class QWidget;

class TItemDragger : public QObject {
 public:
  // OnMove moves item From to place To.
  TItemDragger(QAbstractItemView& View, std::function<void(int From, int To)> OnMove);

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  QAbstractItemView& FView;
  // Kept: the view may be half destroyed when its viewport's last events come.
  QWidget* FViewport;
  std::function<void(int, int)> FOnMove;
  int FFrom = -1;  // the item pressed, while the button is down
  QPoint FStart;
  bool FDragging = false;
};
