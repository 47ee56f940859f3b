#pragma once
// The one window of the program: it owns the open document and the members that describe it,
// and every view the user sees. Its handlers live in the folder of the subsystem they belong
// to (sprites/unitFileCommands.cpp, imaging/unitThumbnailList.cpp, app/unit*.cpp).

#include <QLoggingCategory>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/unitMainMenu.h"
#include "app/unitRecentFiles.h"
#include "app/unitSpriteHistory.h"
#include "imaging/unitGridCut.h"
#include "platform/unitDesktopServices.h"
#include "platform/unitFileStamp.h"
#include "sprites/unitProgress.h"
#include "sprites/unitS16Handler.h"
#include "sprites/unitSprLoader.h"

class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QListView;
class QScrollArea;
class QStatusBar;
class TBitmap;
class TExpansionScan;
class TImageList;
struct TThumbnail;
struct TThumbnailOutcome;
struct TThumbnailSettings;
class TManualCut;
class TProgressPanel;
class TSheetCut;
class TShapeMarker;
class TSpriteViewer;
class TThumbnailListModel;
class TWorkingImageView;

// The window's title and status texts as they change, for whoever watches a running editor
// (QT_LOGGING_RULES="pelbrook.window.debug=true").
Q_DECLARE_LOGGING_CATEGORY(PelbrookWindowLog)

class TPelbrookMainWindow : public QMainWindow, public IProgressReport {
  Q_OBJECT

 public:
  explicit TPelbrookMainWindow(IDesktopServices& Services);
  ~TPelbrookMainWindow() override;

  // Document state.
  void MarkModified();
  void MarkClean();

  // Menu commands of the shell.
  void New1Click();
  void Quit1Click();
  void About1Click();
  void FormCloseQuery(bool& CanClose);
  void File1Click();
  void Edit1Click();
  void DoHint(const QString& Hint);

  // Status bar. Each report is painted, and pending messages run, before it returns.
  void SetStatusText(const std::string& Text);
  void SetProgress(int Value) override;
  // For a loop that paints its reports at display rate: every text to the log as it comes,
  // the shown text and progress painted at the next pump.
  void LogStatusText(const std::string& Text);
  void PutStatusText(const std::string& Text);
  void PutProgress(int Value);
  void StatusBarDrawPanel(QPainter& Canvas, const QRect& Rect);

  // Preferences.
  void LoadPreferences();
  void SavePreferences();

  // The thumbnail list.
  void PopulateImageList();
  void GenerateThumbnails();
  TThumbnailSettings ThumbnailSettings() const;
  std::vector<TThumbnailOutcome> ThumbnailsOfTheStep(int First) const;
  // Appends the picture of Source for sprite Index; returns why it may be inaccurate, or nothing.
  std::string MakeThumbnail(TBitmap& Source, int Index);
  std::string AddThumbnail(TThumbnail Thumbnail);
  // Items First to Last take their sprites' numbers and sizes; their pictures stay.
  void RenumberCaptions(int First, int Last);
  void Off1Click();
  void SetSize(TMenuEntry& Entry);
  void SetScale();
  void SetResampleFilter();
  void BetterResample1Click();

  // Clipboard.
  void SetCopyFormat(TMenuEntry& Entry);
  void Copy1Click();
  void Cut1Click();
  void Paste1Click();
  void PasteOver1Click();
  // Takes the selected sprite out, as one step of the history, leaving the clipboard alone.
  void Delete1Click();

  // BMP and PNG files.
  void ImportFrom1Click();
  void ExportTo1Click();
  void ImportbmpTypeChange(TFileDialog& Dialog);
  void ExportbmpTypeChange(TFileDialog& Dialog);
  // Sprite sheets with a JSON atlas, for game engines.
  void ExportSpriteSheet1Click();
  void ImportSpriteSheet1Click();

  // The cutters.
  void ExpandSprite1Click();
  void ExpandManualClick();
  void ManualClipperMouseDown(Qt::MouseButton Button, int X, int Y);
  void ManualClipperMouseUp(Qt::MouseButton Button, int X, int Y);
  void ShapeMarkerMouseDown();
  void Finish1Click();
  // The selected sprite replaced by the cells of the grid chosen in the grid dialog.
  void CutByGrid1Click();

  // The history and arranging the list.
  void Undo1Click();
  void Redo1Click();
  void MoveEarlier1Click();
  void MoveLater1Click();
  // Moves sprite From to place To as one step named Text; false when either is no sprite.
  bool MoveSprite(int From, int To, const QString& Text);

  // Viewers of single sprites.
  void OpenViewer(int Index);

  // The list's context menu at Position in its viewport: Fill makes it, for a test to read.
  void ImagesContextMenu(const QPoint& Position);
  void FillImagesMenu(QMenu& Menu, const QPoint& Position);

  // Open and save.
  void Open1Click();
  // Opens a file named outside the open dialog (the command line, a drop) as Open does: as
  // .spr when the name ends in .spr, as .s16 otherwise, after the question about unsaved
  // changes.
  void OpenNamedFile(const std::string& Path);
  void Save1Click();
  void SaveAs1Click();
  // An entry of File > Open Recent: a file that is gone is taken off the list, with a message.
  void OpenRecentFile(const std::string& Path);
  void OpenSpriteFileTypeChange(TFileDialog& Dialog);
  void SaveFileTypeChange(TFileDialog& Dialog);

  // Keys are looked up in menu order, as the menus hold them; true when an entry holds Key
  // (whether or not it was enabled and ran).
  bool DispatchShortcut(const QKeySequence& Key);
  // Runs an entry as a click on it does: its command, with any error shown as the
  // application shows errors no command caught.
  void RunMenuEntry(TMenuEntry& Entry);
  TMenuEntry& MenuEntry(std::string_view Name);
  bool MenuAttached() const { return FMenuAttached; }

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;
  bool event(QEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  friend class TMainWindowProbe;

  // Keeps the menu off the window, so that no command starts, while it lives.
  class TMenuDetachment {
   public:
    explicit TMenuDetachment(TPelbrookMainWindow& Window) : FWindow(Window) {
      FWindow.DetachMainMenu();
    }
    ~TMenuDetachment() { FWindow.AttachMainMenu(); }
    TMenuDetachment(const TMenuDetachment&) = delete;
    TMenuDetachment& operator=(const TMenuDetachment&) = delete;

   private:
    TPelbrookMainWindow& FWindow;
  };

  static constexpr const char* MainCaption = "The Pelbrook";
  static constexpr const char* InaccurateThumbnailsText = "The Thumbnails may be inaccurate";

  void FormCreate();
  void CreateComponents();
  void CreateCutterViews(QWidget* Client);
  // The cutters' first prompts: a selected item, and unsaved changes saved or dropped.
  bool ExpansionMayStart();
  // Runs a cutter, shown in View, with the menu detached; Cutter returns false when it was
  // stopped. A cutter that fails or is stopped leaves the document as it was, Modified
  // included; a failure is reported. A close asked for meanwhile is asked again at the end.
  void RunCutter(QWidget& View, const std::function<bool()>& Cutter);
  // The stop box of a Cut ("expanding this sprite") refused for passing the most sprites a
  // file holds.
  void RefuseSpriteLimit(const std::string& Cut);
  // The cutter whose sheet is out of the document just now; null when none runs.
  TSheetCut* RunningCutter() const;
  void ConnectMenuCommands();
  void SetCaption(bool WithModifiedMarker);
  void DetachMainMenu();
  void AttachMainMenu();
  void RunOpenMenuHandler(TTopMenu Menu);
  bool HasSelectedItem() const;
  // The item with the focus mark, and the last selected item; -1 for none.
  int CurrentItem() const;
  int SelectedItem() const;
  // Puts a new sprite before item Index, or at the end for -1; returns where it went.
  int InsertAt(std::unique_ptr<TS16Sprite> Sprite, int Index);
  // Reads a BMP or PNG file into a new sprite before item Index (-1: at the end) and returns
  // where it went; a file that does not read is reported and gives -1.
  int InsertImportedImage(const std::string& Path, int Index);
  void ClearImages();
  // Takes sprite Index out as the step named by menu entry Entry, and out of the list.
  void RemoveSprite(int Index, const char* Entry);
  // A file just opened or saved goes first in File > Open Recent.
  void RememberFile(const std::string& Path);
  void ShowRecentFiles();
  // Records a command that put Inserted sprites at Index in place of Removed.
  void RecordReplace(const char* Entry, int Index, TSpriteRun Removed, int Inserted);
  // Records a cutter that ran to its end.
  void RecordCutterRun(const char* Entry, TSheetCut& Cut);
  // The list, the selection and the viewers after the history changed the document.
  void ShowHistoryChange(const TDocumentChange& Change);
  void MoveListItem(int From, int To);
  void SelectItem(int Index);
  // Keeps each viewer on its sprite, and closes those whose sprite is gone.
  void FollowChange(const TDocumentChange& Change);
  // The document is a new one: no step or viewer refers to it.
  void ForgetDocument();
  void ResetToUntitled();
  // Asks whether unsaved changes are to be saved first: false when the user cancels, or the
  // save asked for did not write the document.
  bool ChangesMayBeReplaced();
  // With unsaved changes, asks Question (Yes, No, Cancel): No drops them, Yes saves first; false
  // when the user cancels or the save did not write the document.
  bool ChangesSafeAfter(const TMessageBoxRequest& Question);
  // Files dropped before item Index (-1: at the end): the first sprite file among them is
  // opened; otherwise every picture is imported, in order, and the list rebuilt once.
  void FilesDropped(const std::vector<std::string>& Paths, int Index);
  // Runs a command, showing any error as the application shows errors no command caught. A
  // command that ChangesDocument is not run inside another one: the first takes its indices,
  // and records its undo step, across the messages it lets run, and would find the document
  // changed under it.
  void RunCommand(const std::function<void()>& Command, bool ChangesDocument);
  // Open's steps after its dialog.
  void OpenDocument(const std::string& Path, bool AsSpr);
  // False when FileName was changed by another program since the document last read or wrote
  // it, and the user does not want it overwritten.
  bool OverwriteAllowed();
  // Captioned "Pelbrook", as the list's warnings are, and "The Pelbrook", as the commands' are.
  void ShowWarning(const char* Text, TMsgIcon Icon, const std::string& Detail = {});
  void ShowMessage(const char* Text, TMsgIcon Icon, const std::string& Detail = {});
  void StoreThumbnailPreference();
  // Shows a file dialog; a filter picked in it is kept for the next run.
  bool RunFileDialog(TFileDialog& Dialog);
  // The dialogs that write and read single files start in the folder of the document's file.
  void StartDialogsBesideFile();
  // Each dialog whose filter is kept, with the name it is kept under.
  std::vector<std::pair<TFileDialog*, std::string_view>> RememberedFilters();
  void LoadDialogFilters(const std::optional<TRegistryKey>& Key);
  void ApplyThumbnailSize();
  void SetUpSheetDialogs();

  IDesktopServices& FServices;

  // Members of the document and the preferences.
  std::unique_ptr<TS16File> SpriteFile;
  TSpriteHistory History{SpriteFile};
  std::vector<QPointer<TSpriteViewer>> Viewers;
  TRecentFiles RecentFiles;
  std::uint8_t CopyFormat = 6;
  std::int32_t ThumbnailSize = 25;
  bool FitIntoThumbnail = true;
  std::int32_t UseBetterResample = 1;
  bool FasterUpdate = false;
  std::string FileName;
  TKnownFile FKnownFile;  // FileName as the document last read or wrote it
  bool Modified = false;
  std::int32_t SaveFormat = 0;
  std::int8_t Progress = -1;
  // The manual cutter while it runs: its request (CutRequest) is what Finish and the close
  // query set.
  TManualCut* FManualCut = nullptr;
  // Expand Sprite while it runs: Escape and the close query stop it.
  TExpansionScan* FExpansion = nullptr;
  // The grid dialog opens as it was last confirmed.
  TGridLayout FGridLayout;

  // Components.
  QListView* Images = nullptr;
  std::unique_ptr<TImageList> Thumbnails;
  TThumbnailListModel* ImagesModel = nullptr;
  QStatusBar* StatusBar = nullptr;
  TProgressPanel* StatusPanel0 = nullptr;
  QLabel* StatusPanel1 = nullptr;
  QScrollArea* AutoCutter = nullptr;
  TWorkingImageView* AutoCutImg = nullptr;
  QScrollArea* ManualScroller = nullptr;
  QFrame* Panel1 = nullptr;
  QPushButton* FinishButton = nullptr;
  QScrollArea* ManualScrollBox = nullptr;
  TWorkingImageView* ManualClipper = nullptr;
  TShapeMarker* ShapeMarker = nullptr;
  QMenu* SplitterMenu = nullptr;
  QAction* Finish1 = nullptr;
  TFileDialog OpenSpriteFile;
  TFileDialog SaveFile;
  TFileDialog Importbmp;
  TFileDialog Exportbmp;
  TFileDialog ExportSheet;
  TFileDialog ImportSheet;
  TSheetExportSettings SheetExport;
  TMainMenu PelbrookMainMenu;
  std::unique_ptr<TSprLoader> SprLoader;

  bool RebuildSuperseded(unsigned Rebuild) const;

  bool FMenuAttached = true;
  bool FDocumentCommandRunning = false;
  bool FCloseWhenCutterEnds = false;  // a close came while a cutter ran
  int FMenuDetachments = 0;
  unsigned FRebuildCount = 0;
  QString FCurrentHint;
  QString FStatusText;  // the last one set
};
