#pragma once
// The editor window for benchmarks: shown offscreen (or on the platform QT_QPA_PLATFORM names),
// pumped by the real event loop, with the system clipboard of Qt; the dialogs and message boxes
// are scripted.

#include <QApplication>
#include <QDeadlineTimer>
#include <filesystem>
#include <memory>

#include "app/unitPelbrookMainWindow.h"
#include "platform/qt/unitQtClipboard.h"
#include "tests/support/ScriptedDesktopServices.h"

inline QApplication& Application() {
  static int Argc = 1;
  static char Name[] = "pelbrook_bench";
  static char* Argv[] = {Name, nullptr};
  static QApplication* const Instance = [] {
    // Offscreen unless a platform is asked for (xcb on an X display).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(Argc, Argv);
  }();
  return *Instance;
}

// Scripted answers, but the pumping is the real event loop's and the clock the system's.
class TBenchServices : public TScriptedDesktopServices {
 public:
  using TScriptedDesktopServices::TScriptedDesktopServices;
  void ProcessMessages() override {
    ++PumpCount;
    QCoreApplication::processEvents();
  }
  bool ClipboardHasFormat(TClipboardFormat Format) override {
    return Format == TClipboardFormat::Bitmap ? ClipboardOffersImage() : ClipboardOffersPalette();
  }
  void SetClipboardBitmap(const TBitmap& Bitmap) override { PutBitmapOnClipboard(Bitmap); }
  std::unique_ptr<TBitmap> ReadClipboardBitmap() override { return ReadClipboardImage(); }
  std::int64_t TickCount() override { return QDeadlineTimer::current().deadline(); }
};

// A window on 25 x 25 "Box" thumbnails, shown, with its own preference file.
struct TBenchWindow {
  TBenchServices Services{(std::filesystem::temp_directory_path() / "pelbrook-bench.reg").string()};
  std::unique_ptr<TPelbrookMainWindow> Window;

  TBenchWindow() {
    Application();
    std::filesystem::remove(std::filesystem::temp_directory_path() / "pelbrook-bench.reg");
    Window = std::make_unique<TPelbrookMainWindow>(Services);
    Window->RunMenuEntry(Window->MenuEntry("BetterResample1"));
    Window->show();
    QCoreApplication::processEvents();
  }
  void Open(const std::string& Path) {
    Services.DialogAnswers.push_back(TDialogAnswer{Path, 1});
    Window->RunMenuEntry(Window->MenuEntry("Open1"));
  }
};
