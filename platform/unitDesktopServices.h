#pragma once
// What the main window needs from the desktop beyond message boxes: file dialogs, the
// clipboard, the preference store, sound and the program's own path. The editor hands it
// the Qt implementation, the tests a scripted one.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/unitBitmap.h"

#include "platform/unitRegistryStore.h"
#include "platform/unitWindowServices.h"

enum class TFileDialogKind { Open, Save };

// A file dialog component: it keeps its filter index and file name between uses, so each
// showing opens as the last one was left.
struct TFileDialog {
  TFileDialogKind Kind = TFileDialogKind::Open;
  std::string Title;
  // Description and pattern pairs, all separated by '|'.
  std::string Filter;
  int FilterIndex = 1;  // from 1
  // Appended, after a dot, to a typed name that has no extension.
  std::string DefaultExt;
  std::string FileName;
  // Where the dialog opens when FileName names no folder.
  std::string InitialDir;
  // A save dialog's typed name that ends in the extension of one of its filters picks that
  // filter (see ChooseFileType); any other name gets the picked filter's extension. The
  // overwrite prompt asks about the name so chosen.
  bool ExtensionPicksFilter = false;
  bool OverwritePrompt = false;
  bool HideReadOnly = false;
  bool PathMustExist = false;
  bool FileMustExist = false;
  // Runs while the dialog is open, each time the user picks another filter; FilterIndex
  // already holds the new choice and the handler may change DefaultExt.
  std::function<void(TFileDialog&)> OnTypeChange;
};

// What the sprite sheet export dialog asks: which sprites go on the sheet and how. It keeps
// the choices between uses, as file dialogs keep theirs.
struct TSheetExportSettings {
  int SpriteCount = 0;  // the document's: the range runs from 0 to SpriteCount - 1
  bool AllSprites = true;
  int First = 0;
  int Last = 0;
  bool MaxRects = false;  // else rows
  int Padding = 0;        // 0 to 16
  bool PowerOfTwo = false;
  bool Trim = false;
  bool ArrayForm = false;  // else the hash form
  std::string NamePattern = "{n:4}";
};

enum class TClipboardFormat { Bitmap, Palette };

struct TGridDialog;

class IDesktopServices : public IWindowServices {
 public:
  // Modal. FilterIndex follows the filter the user picks, also on cancel; on confirmation sets
  // FileName and returns true, false on cancel.
  virtual bool ExecuteFileDialog(TFileDialog& Dialog) = 0;
  // Modal: the grid cutter's numbers over a preview of the sheet. On OK sets Dialog.Layout to the
  // user's choice and returns true; false on cancel.
  virtual bool ExecuteGridDialog(TGridDialog& Dialog) = 0;
  // Modal. On confirmation sets the choices and returns true, false on cancel.
  virtual bool ExecuteSheetExportDialog(TSheetExportSettings& Settings) = 0;
  // Bitmap: the clipboard offers an image that reads; Palette: that image is palette-based.
  virtual bool ClipboardHasFormat(TClipboardFormat Format) = 0;
  // Empties the clipboard and puts Bitmap's colours on it in one write; black, the transparent
  // colour, goes as transparent where the form allows it.
  virtual void SetClipboardBitmap(const TBitmap& Bitmap) = 0;
  // The clipboard's image in its own colours (its palette's, where it has one), pixels less
  // than half opaque as black. Raises an error that says why when there is none that reads, or
  // it is too large to become a sprite.
  virtual std::unique_ptr<TBitmap> ReadClipboardBitmap() = 0;
  virtual TRegistryStore& PreferenceStore() = 0;
  // Starts playing a wave file and returns at once; false, at once, while another sound
  // still plays. With nothing to play it on there is nothing to wait for: true.
  virtual bool PlaySound(const std::string& Path) = 0;
  virtual void Sleep(int Milliseconds) = 0;
  // Blocks until window messages come, then handles them: how a loop that only waits for the
  // user waits without burning a processor.
  virtual void WaitForMessages() = 0;
  // Milliseconds on a clock that only goes forward: how a fast loop paces its repaints.
  virtual std::int64_t TickCount() = 0;
  // The full path of the running program's file.
  virtual std::string ProgramFilePath() = 0;
  // The program file's name without its extension.
  std::string ApplicationTitle();
  // A data file that ships with the program ("cutter.wav"): beside the program's file, or
  // else in the data folder of an install (share/pelbrook beside bin/); beside it when neither
  // has it.
  std::string ProgramDataFilePath(const std::string& Name);
};

// The application's answer to an error that no command caught: its message in a stop box
// captioned with the application's title, its reason as the box's detail.
void ShowException(IDesktopServices& Services, const std::exception& Error);
