#include "platform/qt/unitPelbrookApplication.h"

#include <iostream>

TPelbrookApplication::TPelbrookApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {}

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
