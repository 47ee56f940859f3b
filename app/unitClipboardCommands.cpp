// The clipboard's commands.

#include <QAction>

#include "app/unitPelbrookMainWindow.h"

void TPelbrookMainWindow::SetCopyFormat(TMenuEntry& Entry) {
  CopyFormat = static_cast<std::uint8_t>(Entry.Tag + 2);
  Entry.Action->setChecked(true);
  SavePreferences();
}
