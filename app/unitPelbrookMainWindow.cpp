#include "app/unitPelbrookMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <set>

#include "app/unitImageList.h"
#include "app/unitItemDragger.h"
#include "app/unitProgressPanel.h"
#include "app/unitSpriteListView.h"
#include "app/unitThumbnailItemDelegate.h"
#include "app/unitThumbnailListModel.h"
#include "imaging/unitExpansionScan.h"
#include "imaging/unitManualCut.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSpriteFileRoutes.h"

Q_LOGGING_CATEGORY(PelbrookWindowLog, "pelbrook.window", QtWarningMsg)

namespace {

// The commands that take sprites out of the document or put them in.
bool ChangesDocument(const TMenuEntry& Entry) {
  static const std::set<std::string, std::less<>> Names = {
      "New1",       "Open1",         "ImportFrom1",  "Undo1",      "Redo1",
      "Cut1",       "Paste1",        "PasteOver1",   "Delete1",    "MoveEarlier1",
      "MoveLater1", "ExpandSprite1", "ExpandManual", "CutByGrid1", "ImportSpriteSheet1"};
  return Names.contains(Entry.Name);
}

}  // namespace

TPelbrookMainWindow::TPelbrookMainWindow(IDesktopServices& Services)
    : FServices(Services), Thumbnails(std::make_unique<TImageList>()) {
  CreateComponents();
  FormCreate();
  qApp->installEventFilter(this);
}

TPelbrookMainWindow::~TPelbrookMainWindow() {
  qApp->removeEventFilter(this);
  // The view and its model go before the pictures they show.
  delete Images;
  delete ImagesModel;
}

void TPelbrookMainWindow::CreateComponents() {
  setGeometry(257, 110, 696, 480);
  setAcceptDrops(true);

  auto* Client = new QWidget(this);
  auto* Layout = new QGridLayout(Client);
  Layout->setContentsMargins(0, 0, 0, 0);
  ImagesModel = new TThumbnailListModel(*Thumbnails, this);
  Images = new TSpriteListView(Client);
  Images->setObjectName("Images");
  Images->setModel(ImagesModel);
  Images->setViewMode(QListView::IconMode);
  Images->setMovement(QListView::Static);
  Images->setResizeMode(QListView::Adjust);
  Images->setSelectionMode(QAbstractItemView::SingleSelection);
  Images->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Images->setDragEnabled(false);
  new TItemDragger(*Images, [this](int From, int To) {
    RunCommand([&] { MoveSprite(From, To, "Move"); }, true);
  });
  connect(Images, &QListView::activated, this,
          [this](const QModelIndex& Index) { OpenViewer(Index.row()); });
  Images->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Images, &QListView::customContextMenuRequested, this,
          &TPelbrookMainWindow::ImagesContextMenu);
  Images->setUniformItemSizes(true);
  Images->setWordWrap(true);
  Images->setItemDelegate(new TThumbnailItemDelegate(Images));
  Images->setStatusTip("Here all the images in your sprite file are displayed.");
  CreateCutterViews(Client);
  for (QWidget* View : {static_cast<QWidget*>(Images), static_cast<QWidget*>(AutoCutter),
                        static_cast<QWidget*>(ManualScroller)})
    Layout->addWidget(View, 0, 0);
  setCentralWidget(Client);

  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setFixedHeight(19);
  StatusPanel0 = new TProgressPanel(StatusBar);
  StatusPanel0->OnDrawPanel = [this](QPainter& Canvas, const QRect& Rect) {
    StatusBarDrawPanel(Canvas, Rect);
  };
  StatusPanel1 = new QLabel(StatusBar);
  // A long text is cut at the panel's edge instead of widening the window.
  StatusPanel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  StatusBar->addWidget(StatusPanel0);
  StatusBar->addWidget(StatusPanel1, 1);
  setStatusBar(StatusBar);

  auto* Bar = new QMenuBar(this);
  PelbrookMainMenu.Build(Bar);
  setMenuBar(Bar);
  ConnectMenuCommands();

  // Every dialog hides the read-only box, and its type-change handler sets its extension.
  const auto SetUp = [this](TFileDialog& Dialog, const char* Title, TFileDialogKind Kind,
                            const char* Filter, const char* DefaultExt,
                            void (TPelbrookMainWindow::*TypeChange)(TFileDialog&)) {
    Dialog.Title = Title;
    Dialog.Kind = Kind;
    Dialog.Filter = Filter;
    Dialog.DefaultExt = DefaultExt;
    Dialog.HideReadOnly = true;
    Dialog.OnTypeChange = [this, TypeChange](TFileDialog& Shown) { (this->*TypeChange)(Shown); };
  };
  SetUp(OpenSpriteFile, "Open", TFileDialogKind::Open,
        "Tamblings 2 Sprite Files (*.s16)|*.s16|Tamblings 1 Sprite Files (*.spr)|*.spr", "s16",
        &TPelbrookMainWindow::OpenSpriteFileTypeChange);
  OpenSpriteFile.PathMustExist = OpenSpriteFile.FileMustExist = true;
  SetUp(SaveFile, "Save As", TFileDialogKind::Save, SaveFileFilter, "s16",
        &TPelbrookMainWindow::SaveFileTypeChange);
  // What is written is what the name says: a typed .spr is an .spr file under any filter.
  SaveFile.OverwritePrompt = SaveFile.PathMustExist = SaveFile.ExtensionPicksFilter = true;
  // The import dialog takes any name: a missing file fails as any file that does not read.
  SetUp(Importbmp, "Import From", TFileDialogKind::Open,
        "Bitmap Files (*.bmp)|*.bmp|PNG Files (*.png)|*.png", "bmp",
        &TPelbrookMainWindow::ImportbmpTypeChange);
  SetUp(Exportbmp, "Export To", TFileDialogKind::Save, ExportFileFilter, "bmp",
        &TPelbrookMainWindow::ExportbmpTypeChange);
  Exportbmp.OverwritePrompt = Exportbmp.PathMustExist = Exportbmp.ExtensionPicksFilter = true;
  SetUpSheetDialogs();
}

void TPelbrookMainWindow::ConnectMenuCommands() {
  const auto Bind = [this](const char* Name, void (TPelbrookMainWindow::*Handler)()) {
    MenuEntry(Name).Command = [this, Handler](TMenuEntry&) { (this->*Handler)(); };
  };
  Bind("New1", &TPelbrookMainWindow::New1Click);
  Bind("Open1", &TPelbrookMainWindow::Open1Click);
  Bind("Save1", &TPelbrookMainWindow::Save1Click);
  Bind("SaveAs1", &TPelbrookMainWindow::SaveAs1Click);
  Bind("ImportFrom1", &TPelbrookMainWindow::ImportFrom1Click);
  Bind("ExportTo1", &TPelbrookMainWindow::ExportTo1Click);
  Bind("Quit1", &TPelbrookMainWindow::Quit1Click);
  Bind("ExportSpriteSheet1", &TPelbrookMainWindow::ExportSpriteSheet1Click);
  Bind("ImportSpriteSheet1", &TPelbrookMainWindow::ImportSpriteSheet1Click);
  Bind("Undo1", &TPelbrookMainWindow::Undo1Click);
  Bind("Redo1", &TPelbrookMainWindow::Redo1Click);
  Bind("MoveEarlier1", &TPelbrookMainWindow::MoveEarlier1Click);
  Bind("MoveLater1", &TPelbrookMainWindow::MoveLater1Click);
  Bind("Copy1", &TPelbrookMainWindow::Copy1Click);
  Bind("Cut1", &TPelbrookMainWindow::Cut1Click);
  Bind("Paste1", &TPelbrookMainWindow::Paste1Click);
  Bind("PasteOver1", &TPelbrookMainWindow::PasteOver1Click);
  Bind("Delete1", &TPelbrookMainWindow::Delete1Click);
  Bind("ExpandSprite1", &TPelbrookMainWindow::ExpandSprite1Click);
  Bind("ExpandManual", &TPelbrookMainWindow::ExpandManualClick);
  Bind("CutByGrid1", &TPelbrookMainWindow::CutByGrid1Click);
  Bind("Off1", &TPelbrookMainWindow::Off1Click);
  Bind("Scalestosquare1", &TPelbrookMainWindow::SetScale);
  Bind("FastResample1", &TPelbrookMainWindow::SetResampleFilter);
  Bind("BetterResample1", &TPelbrookMainWindow::BetterResample1Click);
  Bind("About1", &TPelbrookMainWindow::About1Click);
  for (const char* Name : {"N251", "N501", "N751", "N1001"})
    MenuEntry(Name).Command = [this](TMenuEntry& Entry) { SetSize(Entry); };
  for (const char* Name : {"N8bitBMP1", "N15bitBMP1", "N16BitBMP1", "N24bitBMP1"})
    MenuEntry(Name).Command = [this](TMenuEntry& Entry) { SetCopyFormat(Entry); };

  for (TMenuEntry& Entry : PelbrookMainMenu.Entries())
    connect(Entry.Action, &QAction::triggered, this, [this, &Entry] {
      if (Entry.Command) RunCommand([&] { Entry.Command(Entry); }, ChangesDocument(Entry));
    });
  connect(PelbrookMainMenu.TopMenu(TTopMenu::File), &QMenu::aboutToShow, this,
          &TPelbrookMainWindow::File1Click);
  connect(PelbrookMainMenu.TopMenu(TTopMenu::Edit), &QMenu::aboutToShow, this,
          &TPelbrookMainWindow::Edit1Click);
  // A menu that closes leaves no hint behind.
  for (QMenu* Menu : PelbrookMainMenu.Bar()->findChildren<QMenu*>())
    connect(Menu, &QMenu::aboutToHide, this, [this] { DoHint(QString()); });
}

void TPelbrookMainWindow::RunCommand(const std::function<void()>& Command, bool ChangesDocument) {
  if (ChangesDocument && FDocumentCommandRunning) return;
  const QScopedValueRollback Running(FDocumentCommandRunning,
                                     FDocumentCommandRunning || ChangesDocument);
  try {
    Command();
  } catch (const std::exception& Error) {
    ShowException(FServices, Error);
  }
}

void TPelbrookMainWindow::FormCreate() {
  SpriteFile = std::make_unique<TS16File>();
  SpriteFile->Clear();
  ThumbnailSize = 25;
  Progress = -1;
  LoadPreferences();
  ShowRecentFiles();
  SprLoader = std::make_unique<TSprLoader>(FServices);
  SetCaption(false);
}

void TPelbrookMainWindow::SetCaption(bool WithModifiedMarker) {
  const std::string Name = FileName.empty() ? "Untitled" : FileName;
  std::string Caption = "The Pelbrook - [";
  Caption.append(Name).append("]");
  if (WithModifiedMarker) Caption.append(" *");
  setWindowTitle(QString::fromStdString(Caption));
  qCDebug(PelbrookWindowLog).noquote() << "title:" << windowTitle();
}

void TPelbrookMainWindow::MarkModified() {
  Modified = true;
  SetCaption(true);
}

void TPelbrookMainWindow::MarkClean() {
  Modified = false;
  History.SetClean();
  SetCaption(false);
}

void TPelbrookMainWindow::ClearImages() {
  ImagesModel->Clear();
  Thumbnails->Clear();
}

void TPelbrookMainWindow::ResetToUntitled() {
  FileName.clear();
  FKnownFile = {};
  MarkClean();
}

void TPelbrookMainWindow::ShowWarning(const char* Text, TMsgIcon Icon, const std::string& Detail) {
  FServices.MessageBox({Text, "Pelbrook", TMsgButtons::Ok, Icon, false, Detail});
}

void TPelbrookMainWindow::ShowMessage(const char* Text, TMsgIcon Icon, const std::string& Detail) {
  FServices.MessageBox({Text, MainCaption, TMsgButtons::Ok, Icon, false, Detail});
}

bool TPelbrookMainWindow::ChangesMayBeReplaced() {
  return ChangesSafeAfter({"This file has been altered. Do you wish to save it?", MainCaption,
                           TMsgButtons::YesNoCancel, TMsgIcon::Question});
}

bool TPelbrookMainWindow::ChangesSafeAfter(const TMessageBoxRequest& Question) {
  if (!Modified) return true;
  const TMsgResult Answer = FServices.MessageBox(Question);
  if (Answer == TMsgResult::Cancel) return false;
  if (Answer == TMsgResult::Yes) Save1Click();
  return !Modified || Answer == TMsgResult::No;
}

void TPelbrookMainWindow::New1Click() {
  if (!ChangesMayBeReplaced()) return;
  ClearImages();
  SpriteFile->Clear();
  ForgetDocument();
  ResetToUntitled();
}

void TPelbrookMainWindow::Quit1Click() {
  close();
}

void TPelbrookMainWindow::closeEvent(QCloseEvent* Event) {
  bool CanClose = true;
  try {
    FormCloseQuery(CanClose);
  } catch (const std::exception& Error) {
    // A save that failed keeps the window, and the unsaved document, open.
    ShowException(FServices, Error);
    CanClose = false;
  }
  Event->setAccepted(CanClose);
  // A rebuild running under the close stops where it is, so the program ends at once.
  if (CanClose) ++FRebuildCount;
}

void TPelbrookMainWindow::FormCloseQuery(bool& CanClose) {
  // The expansion stops first and leaves the document as it was; then the close is asked
  // again, with the usual question.
  if (FExpansion) {
    FExpansion->Stop();
    FCloseWhenCutterEnds = true;
    CanClose = false;
    return;
  }
  if (ManualScroller->isVisibleTo(this)) {
    const TMsgResult Answer =
        FServices.MessageBox({"Are you trying to close the Manual Clipping window?", MainCaption,
                              TMsgButtons::YesNo, TMsgIcon::Question});
    if (Answer == TMsgResult::Yes) {
      Finish1Click();
      CanClose = false;
      return;
    }
  }
  // Cuts made change even a document that was saved.
  if (FManualCut && FManualCut->Found() > 0) MarkModified();
  if (Modified) {
    const TMsgResult Answer =
        FServices.MessageBox({"This file has been modified. Do you want to save it?", MainCaption,
                              TMsgButtons::YesNoCancel, TMsgIcon::Question});
    if (Answer == TMsgResult::Cancel) CanClose = false;
    if (Answer == TMsgResult::Yes) {
      Save1Click();
      if (Modified) CanClose = false;
    }
  }
  Finish1Click();
}

bool TPelbrookMainWindow::HasSelectedItem() const {
  return Images->selectionModel()->hasSelection();
}

int TPelbrookMainWindow::CurrentItem() const {
  const QModelIndex Current = Images->currentIndex();
  return Current.isValid() ? Current.row() : -1;
}

int TPelbrookMainWindow::SelectedItem() const {
  const QModelIndexList Selected = Images->selectionModel()->selectedIndexes();
  int Last = -1;
  for (const QModelIndex& Index : Selected) Last = std::max(Last, Index.row());
  return Last;
}

int TPelbrookMainWindow::InsertAt(std::unique_ptr<TS16Sprite> Sprite, int Index) {
  if (Index < 0) return SpriteFile->Add(std::move(Sprite));
  SpriteFile->Insert(std::move(Sprite), Index);
  return Index;
}

void TPelbrookMainWindow::File1Click() {
  MenuEntry("ExportTo1").Action->setEnabled(HasSelectedItem());
  MenuEntry("ExportSpriteSheet1").Action->setEnabled(SpriteFile->Count() > 0);
}

void TPelbrookMainWindow::Edit1Click() {
  const bool Bitmap = FServices.ClipboardHasFormat(TClipboardFormat::Bitmap);
  const bool Selected = HasSelectedItem();
  MenuEntry("Paste1").Action->setEnabled(Bitmap);
  MenuEntry("PasteOver1").Action->setEnabled(Bitmap && Selected);
  for (const char* Name :
       {"Cut1", "Copy1", "Delete1", "ExpandSprite1", "ExpandManual", "CutByGrid1"})
    MenuEntry(Name).Action->setEnabled(Selected);
  const int Item = SelectedItem();
  MenuEntry("MoveEarlier1").Action->setEnabled(Item > 0);
  MenuEntry("MoveLater1").Action->setEnabled(Item >= 0 && Item + 1 < SpriteFile->Count());
  QAction* Undo = MenuEntry("Undo1").Action;
  Undo->setEnabled(History.CanUndo());
  Undo->setText(History.CanUndo() ? "&Undo " + History.UndoText() : "&Undo");
  QAction* Redo = MenuEntry("Redo1").Action;
  Redo->setEnabled(History.CanRedo());
  Redo->setText(History.CanRedo() ? "&Redo " + History.RedoText() : "&Redo");
}

void TPelbrookMainWindow::DoHint(const QString& Hint) {
  if (Hint == FCurrentHint) return;
  FCurrentHint = Hint;
  // The manual cutter covers the list, whose hint then goes: its opening text stays until the
  // first cut.
  const bool KeepsStatusText = Hint.isEmpty() && FManualCut && FManualCut->Found() == 0;
  StatusPanel1->setText(KeepsStatusText ? FStatusText : HintPanelText(Hint));
  FServices.ProcessMessages();
}

void TPelbrookMainWindow::About1Click() {
  FServices.MessageBox(
      {"The Pelbrook, the sprite editor of Tamblings\n"
       "This is Version 1.1 Revision 19 of the program",
       "About the Pelbrook", TMsgButtons::Ok, TMsgIcon::Information});
}

bool TPelbrookMainWindow::event(QEvent* Event) {
  // Hints go to panel 1 only; the status bar must not cover its panels with them.
  if (Event->type() == QEvent::StatusTip) {
    DoHint(static_cast<QStatusTipEvent*>(Event)->tip());
    return true;
  }
  return QMainWindow::event(Event);
}
