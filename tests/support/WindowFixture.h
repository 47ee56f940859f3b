#pragma once
// A main window over scripted desktop services and a preference file of the test's own,
// with what a test of a user's session needs: sprite files to open, and a record of the status
// texts, progress values and menu state the user saw at each moment the window let messages run.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/MainWindowProbe.h"
#include "tests/support/ScriptedDesktopServices.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/TempDir.h"

struct TSeen {
  std::vector<std::string> StatusTexts;  // each new text once, in order
  std::vector<int> ProgressValues;       // each change, in order
  bool MenuDetachedWhileGenerating = false;
  bool MenuAttachedWhileGenerating = false;
};

class TWindowTest : public testing::Test {
 protected:
  TTempDir Dir;
  TScriptedDesktopServices Services{Dir.File("preferences.reg")};
  std::unique_ptr<TPelbrookMainWindow> Window;
  TSeen Seen;
  // At this pump the thumbnail loop reports a new percentage.
  bool InThumbnailLoop = false;

  void SetUp() override {
    StartWindow();
    Services.OnPump = [this] { Watch(); };
  }
  // The window lets messages run as it goes (a hint that changes as its list goes from under
  // the mouse): by then there is no window to watch.
  void TearDown() override {
    Services.OnPump = nullptr;
    Window.reset();
  }

  void StartWindow() {
    Window = std::make_unique<TPelbrookMainWindow>(Services);
    Window->show();
  }
  // A new run of the program on the same preference file.
  void RestartWindow() {
    Window.reset();
    StartWindow();
  }
  TMainWindowProbe Probe() const { return TMainWindowProbe(*Window); }

  // An .s16 file of sprites of the given sizes, each filled with Word.
  std::string WriteS16(const std::string& Name, const std::vector<std::pair<int, int>>& Sizes,
                       bool Is555 = false, std::uint16_t Word = 0xF800) {
    TS16File File;
    for (const auto& [Width, Height] : Sizes)
      File.Add(MakeSprite(Width, Height, TWords(std::size_t(Width) * Height, Word)));
    File.SetFormat(Is555);
    const std::string Path = Dir.File(Name);
    File.SaveToFile(Path);
    return Path;
  }

  void Open(const std::string& Path, int FilterIndex = 1) {
    Services.DialogAnswers.push_back(TDialogAnswer{Path, FilterIndex});
    Window->RunMenuEntry(Window->MenuEntry("Open1"));
  }
  void Run(std::string_view Entry) { Window->RunMenuEntry(Window->MenuEntry(Entry)); }

  void Watch() {
    const TMainWindowProbe P = Probe();
    const std::string Text = P.StatusText().toStdString();
    if (Seen.StatusTexts.empty() || Seen.StatusTexts.back() != Text)
      Seen.StatusTexts.push_back(Text);
    const bool ProgressChanged =
        Seen.ProgressValues.empty() || Seen.ProgressValues.back() != P.Progress();
    if (ProgressChanged) Seen.ProgressValues.push_back(P.Progress());
    InThumbnailLoop = Text == "Generating Thumbnails..." && ProgressChanged;
    if (InThumbnailLoop) {
      (Window->MenuAttached() ? Seen.MenuAttachedWhileGenerating
                              : Seen.MenuDetachedWhileGenerating) = true;
    }
  }
  void ForgetSeen() { Seen = {}; }
};
