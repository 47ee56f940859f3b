#pragma once
// Desktop services for tests of the window: message boxes as in TScriptedWindowServices;
// file dialogs answered from a queue of typed names and filter choices (cancel when empty);
// a clipboard that holds one bitmap as it was put there; a preference file of the test's own.

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/unitGridCut.h"
#include "platform/unitDesktopServices.h"
#include "sprites/unitFileTypeChoice.h"
#include "tests/support/ScriptedWindowServices.h"

struct TDialogAnswer {
  std::string TypedName;  // as typed; the dialog appends its default extension if none
  int FilterIndex = 0;    // 0 keeps the dialog's filter
};

// What a dialog looked like when it was shown.
struct TShownDialog {
  TFileDialogKind Kind;
  std::string Filter;
  int FilterIndex;
  std::string DefaultExt;
  std::string Title;
  std::string InitialDir;
};

// What the grid dialog showed when it opened: the numbers, and the line that tells what they
// make of the sheet.
struct TShownGridDialog {
  TGridLayout Layout;
  std::string Outcome;
};

class TScriptedDesktopServices : public TScriptedMessages<IDesktopServices> {
 public:
  explicit TScriptedDesktopServices(std::string PreferencesPath)
      : Store(std::move(PreferencesPath)) {}

  std::deque<std::optional<TDialogAnswer>> DialogAnswers;
  std::vector<TShownDialog> Dialogs;
  // The grid dialog's answers: the numbers confirmed, or cancel; cancel when empty.
  std::deque<std::optional<TGridLayout>> GridAnswers;
  std::vector<TShownGridDialog> GridDialogs;
  // The sprite sheet export dialog: each answer changes the choices it was shown and
  // confirms, or is empty for a cancel; cancel when none is left. What it was shown is kept.
  std::deque<std::function<void(TSheetExportSettings&)>> SheetExportAnswers;
  std::vector<TSheetExportSettings> SheetExportsShown;
  std::optional<TBitmap> Clipboard;
  bool ClipboardPalette = false;  // the bitmap there came with a palette
  int ClipboardWrites = 0;
  std::vector<std::string> SoundsPlayed;
  std::deque<bool> SoundAnswers;  // whether each sound starts; yes when empty
  std::vector<int> Sleeps;
  // What the user does, one step each time a loop waits for messages; a wait with no step
  // left raises an error rather than hang the test.
  std::deque<std::function<void()>> WaitSteps;
  TRegistryStore Store;
  std::string ProgramFile = "/opt/pelbrook/bin/pelbrook";

  bool ExecuteFileDialog(TFileDialog& Dialog) override {
    Dialogs.push_back({Dialog.Kind, Dialog.Filter, Dialog.FilterIndex, Dialog.DefaultExt,
                       Dialog.Title, Dialog.InitialDir});
    if (DialogAnswers.empty()) return false;
    const std::optional<TDialogAnswer> Answer = DialogAnswers.front();
    DialogAnswers.pop_front();
    if (!Answer) return false;
    if (Answer->FilterIndex != 0 && Answer->FilterIndex != Dialog.FilterIndex) {
      Dialog.FilterIndex = Answer->FilterIndex;
      if (Dialog.OnTypeChange) Dialog.OnTypeChange(Dialog);
    }
    std::string Name = Answer->TypedName;
    if (!std::filesystem::path(Name).has_extension() && !Dialog.DefaultExt.empty())
      Name += "." + Dialog.DefaultExt;
    if (Dialog.ExtensionPicksFilter) {
      const TFileTypeChoice Choice =
          ChooseFileType(Name, FilterExtensions(Dialog.Filter), Dialog.FilterIndex);
      if (Choice.FilterIndex != Dialog.FilterIndex) {
        Dialog.FilterIndex = Choice.FilterIndex;
        if (Dialog.OnTypeChange) Dialog.OnTypeChange(Dialog);
      }
      Name = Choice.Path;
    }
    Dialog.FileName = Name;
    return true;
  }
  bool ExecuteGridDialog(TGridDialog& Dialog) override {
    GridDialogs.push_back(
        {Dialog.Layout,
         GridPlanText(PlanGrid(*Dialog.Sheet, Dialog.Layout, Dialog.Limit), Dialog.Limit)});
    if (GridAnswers.empty()) return false;
    const std::optional<TGridLayout> Answer = GridAnswers.front();
    GridAnswers.pop_front();
    if (Answer) Dialog.Layout = *Answer;
    return Answer.has_value();
  }
  bool ExecuteSheetExportDialog(TSheetExportSettings& Settings) override {
    SheetExportsShown.push_back(Settings);
    if (SheetExportAnswers.empty()) return false;
    const auto Answer = std::move(SheetExportAnswers.front());
    SheetExportAnswers.pop_front();
    if (!Answer) return false;
    Answer(Settings);
    return true;
  }
  bool ClipboardHasFormat(TClipboardFormat Format) override {
    return Clipboard && (Format == TClipboardFormat::Bitmap || ClipboardPalette);
  }
  void SetClipboardBitmap(const TBitmap& Bitmap) override {
    Clipboard.reset();  // as the desktop's clipboard, emptied by a copy of no pixels
    if (Bitmap.Width() > 0 && Bitmap.Height() > 0) Clipboard = Bitmap;
    ClipboardPalette = false;
    ++ClipboardWrites;
  }
  std::unique_ptr<TBitmap> ReadClipboardBitmap() override {
    if (!Clipboard) throw std::runtime_error("The clipboard holds no image that can be read");
    return std::make_unique<TBitmap>(*Clipboard);
  }
  TRegistryStore& PreferenceStore() override { return Store; }
  bool PlaySound(const std::string& Path) override {
    SoundsPlayed.push_back(Path);
    if (SoundAnswers.empty()) return true;
    const bool Started = SoundAnswers.front();
    SoundAnswers.pop_front();
    return Started;
  }
  void Sleep(int Milliseconds) override { Sleeps.push_back(Milliseconds); }
  void WaitForMessages() override {
    if (WaitSteps.empty()) throw std::runtime_error("The test has no more steps to wait for");
    const std::function<void()> Step = std::move(WaitSteps.front());
    WaitSteps.pop_front();
    Step();
  }
  std::string ProgramFilePath() override { return ProgramFile; }
  // Each reading moves the clock on by ClockStep: by default far enough for every report of a
  // paced loop to be painted, as each one was before pacing.
  std::int64_t Clock = 0;
  std::int64_t ClockStep = 1000;
  std::int64_t TickCount() override { return Clock += ClockStep; }
};
