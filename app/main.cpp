// Pelbrook: the application object, the desktop services and the one main window.

#include "app/unitPelbrookMainWindow.h"
#include "platform/qt/unitPelbrookApplication.h"
#include "platform/qt/unitQtDesktopServices.h"
#include "platform/unitFileIO.h"

int main(int Argc, char** Argv) {
  IgnoreFileSizeSignal();
  TPelbrookApplication Application(Argc, Argv);
  TQtDesktopServices Services;
  Application.SetServices(&Services);
  TPelbrookMainWindow PelbrookMainWindow(Services);
  Services.SetDialogParent(&PelbrookMainWindow);
  PelbrookMainWindow.show();
  return TPelbrookApplication::exec();
}
