// What a person brings from other desktop programs: the keys for Save As, Quit and Delete, the
// list's context menu, a key or click on the current item selecting it, and File > Open Recent.

#include <QMenu>
#include <QTest>
#include <filesystem>

#include "tests/support/BitmapFactory.h"
#include "tests/support/WindowFixture.h"

namespace {

class DesktopHabits : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    for (int Width : {1, 2, 3}) Probe().Document().Add(MakeSprite(Width, 1));
    Window->PopulateImageList();
    QCoreApplication::processEvents();  // the list lays its items out
  }
  QPoint ItemCentre(int Row) const {
    return Probe().Images().visualRect(Probe().Images().model()->index(Row, 0)).center();
  }
  int Selected() const {
    const QModelIndexList Rows = Probe().Images().selectionModel()->selectedIndexes();
    return Rows.isEmpty() ? -1 : Rows[0].row();
  }
  QStringList RecentEntries() const {
    QStringList Texts;
    for (QAction* Entry : Probe().Entry("OpenRecent1").menu()->actions())
      Texts.append(Entry->text());
    return Texts;
  }
};

struct TKey {
  std::string Name;
  QKeySequence Key;
  std::string Entry;
};

class DesktopHabitsKey : public DesktopHabits, public testing::WithParamInterface<TKey> {};

TEST_P(DesktopHabitsKey, RunsItsEntryWhereverTheFocusIsInTheWindow) {
  int Runs = 0;
  Window->MenuEntry(GetParam().Entry).Command = [&](TMenuEntry&) { ++Runs; };
  Probe().SelectItem(1);
  QTest::keySequence(&Probe().Images(), GetParam().Key);
  EXPECT_EQ(Runs, 1);
  EXPECT_EQ(Probe().Entry(GetParam().Entry).shortcut(), GetParam().Key);
}

INSTANTIATE_TEST_SUITE_P(, DesktopHabitsKey,
                         testing::Values(TKey{"SaveAs", QKeySequence("Ctrl+Shift+S"), "SaveAs1"},
                                         TKey{"Quit", QKeySequence("Ctrl+Q"), "Quit1"},
                                         TKey{"Delete", QKeySequence(Qt::Key_Delete), "Delete1"}),
                         [](const auto& Info) { return Info.param.Name; });

TEST_F(DesktopHabits, DeleteLeavesTheClipboardAsItIs) {
  Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 5, 4);
  Probe().SelectItem(1);
  QTest::keyClick(&Probe().Images(), Qt::Key_Delete);
  EXPECT_EQ(Probe().Document().Count(), 2);
  EXPECT_EQ(Probe().Items().Item(1).Caption, "[1] - 3 by 1");
  EXPECT_EQ(Services.ClipboardWrites, 0);
  EXPECT_EQ(Services.Clipboard->Width(), 5);
  EXPECT_EQ(Window->windowTitle(), "The Pelbrook - [Untitled] *");
}

struct TMenuPlace {
  std::string Name;
  int Row;  // -1: empty space
  QStringList Texts;
};

class DesktopHabitsContextMenu : public DesktopHabits,
                                 public testing::WithParamInterface<TMenuPlace> {};

TEST_P(DesktopHabitsContextMenu, OffersTheCommandsForThePlaceAndSelectsWhatIsThere) {
  const int Row = GetParam().Row;
  Probe().SelectItem(0);
  QMenu Menu;
  Window->FillImagesMenu(Menu, Row < 0 ? QPoint(600, 400) : ItemCentre(Row));
  QStringList Texts;
  for (QAction* Entry : Menu.actions())
    if (!Entry->isSeparator()) Texts.append(Entry->text());
  EXPECT_EQ(Texts, GetParam().Texts);
  EXPECT_EQ(Selected(), Row);
  EXPECT_EQ(Probe().Entry("ExpandSprite1").isEnabled(), Row >= 0);
}

INSTANTIATE_TEST_SUITE_P(
    , DesktopHabitsContextMenu,
    testing::Values(TMenuPlace{"OverAnItem",
                               2,
                               {"&Copy", "C&ut", "&Paste", "Paste &Over", "Export &To",
                                "&Expand Sprite", "&View Sprite", "Move &Earlier", "Move &Later"}},
                    TMenuPlace{"OnEmptySpace", -1, {"&Paste", "Import &From"}}),
    [](const auto& Info) { return Info.param.Name; });

// As after the focus came to the list: its first item current, but not selected.
TEST_F(DesktopHabits, HomeOnTheCurrentItemSelectsItAndCopyThenWorks) {
  QListView& List = Probe().Images();
  List.selectionModel()->setCurrentIndex(List.model()->index(0, 0), QItemSelectionModel::Clear);
  QTest::keyClick(&List, Qt::Key_Home);
  EXPECT_EQ(Selected(), 0);
  QTest::keyClick(&List, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Services.ClipboardWrites, 1);
}

TEST_F(DesktopHabits, OpenRecentListsFilesOpenedAndSavedAcrossRunsAndDropsOnesThatAreGone) {
  EXPECT_FALSE(Probe().Entry("OpenRecent1").isEnabled());
  const std::string First = WriteS16("first & one.s16", {{2, 2}});
  Open(First);
  const std::string Second = Dir.File("second.spr");
  Services.DialogAnswers.push_back(TDialogAnswer{Second, 3});
  Run("SaveAs1");
  Open(First);
  EXPECT_EQ(RecentEntries(), QStringList({"&1 " + QString::fromStdString(First).replace("&", "&&"),
                                          "&2 " + QString::fromStdString(Second)}));

  RestartWindow();
  ASSERT_EQ(RecentEntries().size(), 2);
  Probe().Entry("OpenRecent1").menu()->actions()[1]->trigger();
  EXPECT_EQ(Probe().FileName(), Second);
  EXPECT_EQ(Probe().SaveFormat(), 3);

  std::filesystem::remove(First);
  Probe().Entry("OpenRecent1").menu()->actions()[1]->trigger();
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0].Text,
            "The file " + First + " no longer exists. It has been removed from the recent files.");
  EXPECT_EQ(Probe().FileName(), Second);
  RestartWindow();
  EXPECT_EQ(RecentEntries(), QStringList({"&1 " + QString::fromStdString(Second)}));
}

TEST_F(DesktopHabits, OpenRecentKeepsTheTenLatestNewestFirst) {
  for (int I = 0; I < 12; ++I)
    Open(WriteS16(QStringLiteral("f%1.s16").arg(I).toStdString(), {{1, 1}}));
  const QStringList Entries = RecentEntries();
  ASSERT_EQ(Entries.size(), 10);
  EXPECT_EQ(Entries.front(), "&1 " + QString::fromStdString(Dir.File("f11.s16")));
  EXPECT_EQ(Entries.back(), "&0 " + QString::fromStdString(Dir.File("f2.s16")));
}

}  // namespace
