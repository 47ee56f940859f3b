#pragma once
// The list of sprites. A key that lands on the item already current selects it, as it selects
// any other item (and as a click does): the commands on the selected sprite then reach it. A
// list that gets the focus makes its first item current without selecting it.

#include <QListView>

class TSpriteListView : public QListView {
 public:
  using QListView::QListView;

 protected:
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  void SelectCurrent();
};
