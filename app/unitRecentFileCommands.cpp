// File > Open Recent: the sprite files opened or saved last, each opened again as a file named
// outside the open dialog is.

#include <QAction>
#include <QMenu>
#include <filesystem>

#include "app/unitPelbrookMainWindow.h"

void TPelbrookMainWindow::RememberFile(const std::string& Path) {
  // The list only saves the user a walk through the dialog: a store that cannot be written
  // costs that, and is reported where the preferences are saved.
  (void)RecentFiles.Add(Path, FServices.PreferenceStore());
  ShowRecentFiles();
}

void TPelbrookMainWindow::ShowRecentFiles() {
  QMenu* Menu = MenuEntry("OpenRecent1").Action->menu();
  Menu->clear();
  const std::vector<std::string>& Paths = RecentFiles.Paths();
  for (std::size_t I = 0; I < Paths.size(); ++I) {
    const QString Path = QString::fromStdString(Paths[I]);
    // 1 to 9, then 0, as the keys of the row lie.
    const QString Number = QString::number((I + 1) % 10);
    QAction* Entry = Menu->addAction("&" + Number + " " + QString(Path).replace("&", "&&"));
    Entry->setStatusTip(Path);
    connect(Entry, &QAction::triggered, this,
            [this, Path = Paths[I]] { RunCommand([&] { OpenRecentFile(Path); }, true); });
  }
  Menu->menuAction()->setEnabled(!Paths.empty());
}

void TPelbrookMainWindow::OpenRecentFile(const std::string& Path) {
  std::error_code Unknown;  // a file that cannot be looked at fails as Open fails on it
  if (!std::filesystem::exists(Path, Unknown) && !Unknown) {
    (void)RecentFiles.Remove(Path, FServices.PreferenceStore());
    ShowRecentFiles();
    const std::string Text =
        "The file " + Path + " no longer exists. It has been removed from the recent files.";
    ShowMessage(Text.c_str(), TMsgIcon::Exclamation);
    return;
  }
  OpenNamedFile(Path);
}
