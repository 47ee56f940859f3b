// Menu keys, dispatched by the window itself: Qt would take two entries with one key (Open and
// Paste Over both show Ctrl+O) as ambiguous and run neither.

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include "app/unitPelbrookMainWindow.h"
#include "imaging/unitExpansionScan.h"

TMenuEntry& TPelbrookMainWindow::MenuEntry(std::string_view Name) {
  return PelbrookMainMenu.Entry(Name);
}

void TPelbrookMainWindow::RunMenuEntry(TMenuEntry& Entry) {
  Entry.Action->trigger();
}

void TPelbrookMainWindow::RunOpenMenuHandler(TTopMenu Menu) {
  if (Menu == TTopMenu::File) File1Click();
  if (Menu == TTopMenu::Edit) Edit1Click();
}

bool TPelbrookMainWindow::DispatchShortcut(const QKeySequence& Key) {
  TMenuEntry* Entry = PelbrookMainMenu.EntryWithKey(Key);
  if (!Entry) return false;
  // Detached, the menu holds no keys that could run.
  if (!FMenuAttached) return true;
  RunOpenMenuHandler(Entry->Menu);
  if (Entry->Action->isEnabled()) RunMenuEntry(*Entry);
  return true;
}

bool TPelbrookMainWindow::eventFilter(QObject* Watched, QEvent* Event) {
  const QEvent::Type Type = Event->type();
  if (Type != QEvent::KeyPress && Type != QEvent::ShortcutOverride)
    return QMainWindow::eventFilter(Watched, Event);
  auto* Widget = qobject_cast<QWidget*>(Watched);
  if (!Widget || Widget->window() != this) return QMainWindow::eventFilter(Watched, Event);
  auto* Key = static_cast<QKeyEvent*>(Event);
  const QKeySequence Sequence(Key->keyCombination());
  // The cutter's Finish key works wherever the focus is while the cutter runs, and so does
  // Escape, which stops Expand Sprite.
  const bool Finishes = FManualCut && Sequence == Finish1->shortcut();
  const bool Stops = FExpansion && Sequence == QKeySequence(Qt::Key_Escape);
  if (!Finishes && !Stops && !PelbrookMainMenu.EntryWithKey(Sequence))
    return QMainWindow::eventFilter(Watched, Event);
  // Claiming the override keeps Qt's shortcut map out; the key then arrives as a key press.
  if (Type == QEvent::ShortcutOverride) {
    Key->accept();
    return true;
  }
  if (Finishes)
    Finish1Click();
  else if (Stops)
    FExpansion->Stop();
  else
    DispatchShortcut(Sequence);
  return true;
}

// Counted: a rebuild nested in a running one must not give the menu back early.
void TPelbrookMainWindow::DetachMainMenu() {
  if (FMenuDetachments++ == 0) PelbrookMainMenu.Bar()->hide();
  FMenuAttached = false;
}

void TPelbrookMainWindow::AttachMainMenu() {
  if (--FMenuDetachments > 0) return;
  PelbrookMainMenu.Bar()->show();
  FMenuAttached = true;
}
