#pragma once
// The editor's application object: an error that no command caught is shown in a message box
// and the event loop goes on, instead of the error crossing Qt's loop and ending the program.
// Qt itself stores no settings for the program.

#include <QApplication>

#include "platform/unitDesktopServices.h"

class TPelbrookApplication : public QApplication {
  Q_OBJECT

 public:
  // Argc and Argv must outlive the application, as QApplication requires.
  TPelbrookApplication(int& Argc, char** Argv);

  // Where errors are shown; without services they go to standard error.
  void SetServices(IDesktopServices* Services) { FServices = Services; }

  bool notify(QObject* Receiver, QEvent* Event) override;

 private:
  IDesktopServices* FServices = nullptr;
};
