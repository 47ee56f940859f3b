// The shell: the state at start, New, the close query, keys, hints and the About box.

#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTest>

#include "tests/support/WindowFixture.h"

namespace {

std::string Title(const TPelbrookMainWindow& Window) {
  return Window.windowTitle().toStdString();
}

const TMessageBoxRequest AlteredQuestion{"This file has been altered. Do you wish to save it?",
                                         "The Pelbrook", TMsgButtons::YesNoCancel,
                                         TMsgIcon::Question};
const TMessageBoxRequest ModifiedQuestion{"This file has been modified. Do you want to save it?",
                                          "The Pelbrook", TMsgButtons::YesNoCancel,
                                          TMsgIcon::Question};

using MainWindow = TWindowTest;

TEST_F(MainWindow, StartsUntitledAndEmptyWithTheFormsMenus) {
  const TMainWindowProbe P = Probe();
  EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled]");
  EXPECT_EQ(Window->size(), QSize(696, 480));
  EXPECT_EQ(P.Items().Count(), 0);
  EXPECT_EQ(P.SaveFormat(), 0);
  EXPECT_EQ(P.Progress(), -1);
  EXPECT_FALSE(P.Modified());
  EXPECT_FALSE(P.Enabled("ExpandSprite1"));
  EXPECT_EQ(P.Panel0().width(), 100);

  const QList<QAction*> Menus = Window->menuBar()->actions();
  ASSERT_EQ(Menus.size(), 4);
  EXPECT_EQ(Menus[0]->text(), "&File");
  EXPECT_EQ(Menus[3]->text(), "&Help");
  EXPECT_EQ(P.Entry("PasteOver1").shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(P.Entry("File1").statusTip(), "Gives access to commands such as \"New\" and \"Quit\"");
  EXPECT_EQ(P.Entry("ExpandManual").statusTip(), "");
  EXPECT_EQ(P.Entry("N751").statusTip(), "75x75 Pixel Thumbnails");
}

TEST_F(MainWindow, TheThumbnailSizesAndTheCopyFormatsAreRadioGroups) {
  const TMainWindowProbe P = Probe();
  EXPECT_TRUE(P.Ticked("N251"));
  Run("N751");
  EXPECT_TRUE(P.Ticked("N751"));
  EXPECT_FALSE(P.Ticked("N251"));
  EXPECT_EQ(P.ThumbnailSize(), 75);
  Run("N15bitBMP1");
  EXPECT_TRUE(P.Ticked("N15bitBMP1"));
  EXPECT_FALSE(P.Ticked("N24bitBMP1"));
  EXPECT_EQ(P.CopyFormat(), 4);
  // Neither group touches the independent ticks of the same submenu.
  EXPECT_FALSE(P.Ticked("Off1"));
  EXPECT_FALSE(P.Ticked("Scalestosquare1"));
}

TEST_F(MainWindow, NewEmptiesTheDocumentAfterAskingAboutChanges) {
  const TMainWindowProbe P = Probe();
  P.Document().Add(MakeSprite(2, 2));
  Window->PopulateImageList();
  Window->MarkModified();

  Services.Answers = {TMsgResult::Cancel};
  Run("New1");
  EXPECT_EQ(P.Document().Count(), 1);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled] *");

  Services.Answers = {TMsgResult::Yes};  // and then cancels the Save As dialog
  Run("New1");
  EXPECT_EQ(P.Document().Count(), 1);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled] *");
  EXPECT_EQ(Services.Dialogs.size(), 1u);

  Services.Answers = {TMsgResult::No};
  Run("New1");
  EXPECT_EQ(P.Document().Count(), 0);
  EXPECT_EQ(P.Items().Count(), 0);
  EXPECT_EQ(P.Thumbnails().Count(), 0);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled]");
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>(3, AlteredQuestion));

  Run("New1");  // nothing to lose: no question
  EXPECT_EQ(Services.Shown.size(), 3u);
}

TEST_F(MainWindow, NewKeepsTheSaveFormatAndAnsweringYesSavesFirst) {
  const std::string Path = WriteS16("kept.s16", {{2, 2}}, true);
  Open(Path);
  Probe().Document().Add(MakeSprite(1, 1));
  Window->MarkModified();
  Services.Answers = {TMsgResult::Yes};
  Run("New1");
  TS16File Written;
  Written.LoadFromFile(Path);
  EXPECT_EQ(Written.Count(), 2);
  EXPECT_EQ(Probe().SaveFormat(), 2);
  EXPECT_EQ(Probe().FileName(), "");
}

TEST_F(MainWindow, TheCloseQueryAsksAboutChanges) {
  Window->MarkModified();
  Services.Answers = {TMsgResult::Cancel};
  EXPECT_FALSE(Window->close());
  Services.Answers = {TMsgResult::Yes};  // Save As cancelled: the changes are not saved
  EXPECT_FALSE(Window->close());
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>(2, ModifiedQuestion));

  Services.Answers = {TMsgResult::No};
  EXPECT_TRUE(Window->close());
}

TEST_F(MainWindow, ACloseWhoseSaveFailsKeepsTheWindowOpen) {
  Probe().Document().Add(MakeSprite(1, 1));
  Window->MarkModified();
  Services.Answers = {TMsgResult::Yes};
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("missing/x.s16"), 1});
  EXPECT_FALSE(Window->close());
  EXPECT_EQ(Services.Shown.back().Icon, TMsgIcon::Stop);
  EXPECT_TRUE(Probe().Modified());
}

TEST_F(MainWindow, KeysRunTheFirstEntryThatHoldsThemInMenuOrder) {
  const TMainWindowProbe P = Probe();
  P.Document().Add(MakeSprite(2, 2));
  Window->PopulateImageList();
  P.SelectItem(0);
  Services.Clipboard = TBitmap(TPixelFormat::pf24bit, 1, 1);

  QTest::keyClick(&P.Images(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(Services.Dialogs.size(), 1u);
  EXPECT_EQ(Services.Dialogs[0].Kind, TFileDialogKind::Open);

  // Expand Sprite follows the selection once the Edit menu's handler has run (a stand-in
  // command keeps its prompts out of this test).
  Window->MenuEntry("ExpandSprite1").Command = [](TMenuEntry&) {};
  EXPECT_FALSE(P.Enabled("ExpandSprite1"));
  QTest::keyClick(&P.Images(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_TRUE(P.Enabled("ExpandSprite1"));
  EXPECT_TRUE(P.Enabled("PasteOver1"));

  // Copy's own command comes with the clipboard; a stand-in tells whether the key ran it.
  int CopiesRun = 0;
  Window->MenuEntry("Copy1").Command = [&](TMenuEntry&) { ++CopiesRun; };
  QTest::keyClick(&P.Images(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(CopiesRun, 1);
  P.Images().clearSelection();
  QTest::keyClick(&P.Images(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(CopiesRun, 1);
  EXPECT_FALSE(P.Enabled("Copy1"));
  EXPECT_FALSE(P.Enabled("PasteOver1"));
  EXPECT_TRUE(P.Enabled("Paste1"));
  EXPECT_TRUE(Services.Shown.empty());

  QTest::keyClick(&P.Images(), Qt::Key_F12);
  EXPECT_TRUE(P.Ticked("Off1"));
}

TEST_F(MainWindow, NoKeyRunsWhileTheMenuIsDetached) {
  const TMainWindowProbe P = Probe();
  P.Document().Add(MakeSprite(2, 2));
  P.Document().Add(MakeSprite(3, 3));
  bool Pressed = false;
  Services.OnPump = [&] {
    Watch();
    if (!Window->MenuAttached() && !Pressed) {
      Pressed = true;
      QTest::keyClick(&P.Images(), Qt::Key_N, Qt::ControlModifier);
      QTest::keyClick(&P.Images(), Qt::Key_F12);
    }
  };
  Window->PopulateImageList();
  EXPECT_TRUE(Pressed);
  EXPECT_EQ(P.Document().Count(), 2);
  EXPECT_FALSE(P.Ticked("Off1"));
  EXPECT_EQ(P.Thumbnails().Count(), 2);
  EXPECT_FALSE(Window->menuBar()->isHidden());
}

TEST_F(MainWindow, TheExportEntryFollowsTheSelectionWhenTheFileMenuOpens) {
  const TMainWindowProbe P = Probe();
  P.Document().Add(MakeSprite(2, 2));
  Window->PopulateImageList();
  Window->File1Click();
  EXPECT_FALSE(P.Enabled("ExportTo1"));
  P.SelectItem(0);
  Window->File1Click();
  EXPECT_TRUE(P.Enabled("ExportTo1"));
}

TEST_F(MainWindow, HintsGoToTheTextPanelOnlyWhenTheyChange) {
  const TMainWindowProbe P = Probe();
  QStatusTipEvent NewHint("Creates a new sprite file");
  QApplication::sendEvent(Window.get(), &NewHint);
  EXPECT_EQ(P.StatusText(), "---===Creates a new sprite file===---");

  QStatusTipEvent NoHint("");
  QApplication::sendEvent(Window.get(), &NoHint);
  EXPECT_EQ(P.StatusText(), "");
  Window->SetStatusText("Listbox Updated");
  QApplication::sendEvent(Window.get(), &NoHint);
  EXPECT_EQ(P.StatusText(), "Listbox Updated");
}

TEST_F(MainWindow, ALongStatusTextOrHintIsCutAtThePanelsEdge) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
  const QSize Before = Window->size();
  Window->SetStatusText("File /" + std::string(300, 'x') + "/sprites.s16 saved.");
  QStatusTipEvent LongHint(QString(300, u'h'));
  QApplication::sendEvent(Window.get(), &LongHint);
  QTest::qWait(50);
  EXPECT_EQ(Window->size(), Before);
  EXPECT_LE(Window->minimumSizeHint().width(), Before.width());
}

TEST_F(MainWindow, SetProgressWithTheSameValueDoesNothingAtAll) {
  const TMainWindowProbe P = Probe();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
  Window->SetProgress(42);
  EXPECT_EQ(P.Progress(), 42);
  const int Pumps = Services.PumpCount;
  const int Paints = P.Panel0().PaintCount();
  Window->SetProgress(42);
  EXPECT_EQ(Services.PumpCount, Pumps);
  EXPECT_EQ(P.Panel0().PaintCount(), Paints);
  Window->SetProgress(43);
  EXPECT_EQ(Services.PumpCount, Pumps + 1);
  EXPECT_GT(P.Panel0().PaintCount(), Paints);
}

TEST_F(MainWindow, AboutNamesTheVersion) {
  Run("About1");
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0].Caption, "About the Pelbrook");
  EXPECT_EQ(Services.Shown[0].Icon, TMsgIcon::Information);
  EXPECT_TRUE(Services.Shown[0].Text.ends_with("\nThis is Version 1.1 Revision 19 of the program"));
}

}  // namespace
