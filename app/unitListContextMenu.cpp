// The list's context menu: the commands on the sprite under the mouse, or, over empty space,
// those that add sprites at the end. They are the menu bar's own entries, enabled as the menus
// enable them.

#include <QAction>
#include <QListView>
#include <QMenu>

#include "app/unitPelbrookMainWindow.h"

void TPelbrookMainWindow::FillImagesMenu(QMenu& Menu, const QPoint& Position) {
  const QModelIndex Item = Images->indexAt(Position);
  // As a click would: the item under the mouse is the one the commands take, and empty space
  // selects nothing, so that what comes in goes to the end.
  if (Item.isValid())
    Images->setCurrentIndex(Item);
  else
    Images->selectionModel()->clear();
  File1Click();
  Edit1Click();
  const auto Add = [&](std::initializer_list<const char*> Names) {
    for (const char* Name : Names) Menu.addAction(MenuEntry(Name).Action);
  };
  if (!Item.isValid()) {
    Add({"Paste1", "ImportFrom1"});
    return;
  }
  Add({"Copy1", "Cut1", "Paste1", "PasteOver1"});
  Menu.addSeparator();
  Add({"ExportTo1", "ExpandSprite1"});
  QAction* View = Menu.addAction("&View Sprite");
  View->setStatusTip("Shows the sprite at full size in a window of its own");
  const int Index = Item.row();
  connect(View, &QAction::triggered, this,
          [this, Index] { RunCommand([&] { OpenViewer(Index); }, false); });
  Menu.addSeparator();
  Add({"MoveEarlier1", "MoveLater1"});
}

void TPelbrookMainWindow::ImagesContextMenu(const QPoint& Position) {
  // While the list is made or a cutter runs, no command may start.
  if (!FMenuAttached) return;
  QMenu Menu(this);
  FillImagesMenu(Menu, Position);
  connect(&Menu, &QMenu::aboutToHide, this, [this] { DoHint(QString()); });
  Menu.exec(Images->viewport()->mapToGlobal(Position));
}
