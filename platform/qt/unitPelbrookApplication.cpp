#include "platform/qt/unitPelbrookApplication.h"

#include <QSettings>
#include <iostream>

TPelbrookApplication::TPelbrookApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
  // Qt's file dialog would keep its history in the user's configuration (QtProject.conf); the
  // program writes nothing there but its preferences, so Qt's settings go to a folder that
  // cannot be made.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, "/dev/null");
}

bool TPelbrookApplication::notify(QObject* Receiver, QEvent* Event) {
  try {
    return QApplication::notify(Receiver, Event);
  } catch (const std::exception& Error) {
    if (FServices)
      ShowException(*FServices, Error);
    else
      std::cerr << Error.what() << '\n';
    return true;
  }
}
