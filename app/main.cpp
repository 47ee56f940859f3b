// Pelbrook: the application object, the desktop services and the one main window.

#include <QIcon>
#include <QTimer>
#include <iostream>

#include "app/unitCommandLine.h"
#include "app/unitPelbrookMainWindow.h"
#include "platform/qt/unitPelbrookApplication.h"
#include "platform/qt/unitQtDesktopServices.h"
#include "platform/unitFileIO.h"

namespace {

int Answer(const TCommandLine& Line) {
  (*Line.ExitStatus == 0 ? std::cout : std::cerr) << Line.Message << std::flush;
  return *Line.ExitStatus;
}

}  // namespace

int main(int Argc, char** Argv) {
  IgnoreFileSizeSignal();
  QCoreApplication::setApplicationName("pelbrook");
  QCoreApplication::setApplicationVersion(PELBROOK_VERSION);
  {
    const QCoreApplication WithoutWindowSystem(Argc, Argv);
    const TCommandLine Line =
        ParseCommandLine({Argv, Argv + Argc}, TCommandLinePhase::BeforeWindowSystem);
    if (Line.ExitStatus) return Answer(Line);
  }
  TPelbrookApplication Application(Argc, Argv);
  QGuiApplication::setDesktopFileName(PELBROOK_APP_ID);
  QApplication::setWindowIcon(QIcon::fromTheme(PELBROOK_APP_ID));
  // Qt has taken its own options out of Argv.
  const TCommandLine Line =
      ParseCommandLine({Argv, Argv + Argc}, TCommandLinePhase::AfterWindowSystem);
  if (Line.ExitStatus) return Answer(Line);

  TQtDesktopServices Services;
  Application.SetServices(&Services);
  TPelbrookMainWindow PelbrookMainWindow(Services);
  Services.SetDialogParent(&PelbrookMainWindow);
  PelbrookMainWindow.show();
  // Once the window is up, as Open would run; an error goes where the menu's errors go.
  if (!Line.FileToOpen.empty())
    QTimer::singleShot(0, &PelbrookMainWindow,
                       [&] { PelbrookMainWindow.OpenNamedFile(Line.FileToOpen); });
  return TPelbrookApplication::exec();
}
