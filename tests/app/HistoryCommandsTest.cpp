// Undo and redo of every command that changes the document, the moves that arrange the list,
// and the history's bound, as a user's session goes.

#include <QTest>
#include <random>
#include <utility>

#include "platform/unitBmpCodec.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/SheetArt.h"
#include "tests/support/WindowFixture.h"

namespace {

// Two sprites on grey padding, side by side.
const TArt Sheet = {".......",  //
                    ".AA.BB.",  //
                    ".AA.BB.",  //
                    "......."};

struct TSnapshot {
  std::vector<std::tuple<int, int, TWords>> Sprites;
  bool operator==(const TSnapshot&) const = default;
};

class HistoryCommands : public TWindowTest {
 public:
  // For the tables' commands.
  using TWindowTest::Dir;
  using TWindowTest::Probe;
  using TWindowTest::Run;
  using TWindowTest::Services;
  using TWindowTest::Window;

  // As the keys run them, the Edit menu's opening rule first.
  void Undo() { Window->DispatchShortcut(QKeySequence("Ctrl+Z")); }
  void Redo() { Window->DispatchShortcut(QKeySequence("Ctrl+Y")); }
  std::string SaveAs() {
    Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("saved.s16"), 1});
    Window->SaveAs1Click();
    return Dir.File("saved.s16");
  }
  // As the user chooses it: the Edit menu opens first.
  void Choose(std::string_view Entry) {
    Window->Edit1Click();
    Run(Entry);
  }
  void Paste(int Width) {
    Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, Width, 3);
    Choose("Paste1");
  }
  // Drags the first item and lets go at End, in the list's viewport.
  void DragFirstItemTo(QPoint End) {
    QListView& List = Probe().Images();
    QCoreApplication::processEvents();  // the list lays its items out
    const QPoint Start = List.visualRect(List.model()->index(0, 0)).center();
    QTest::mousePress(List.viewport(), Qt::LeftButton, {}, Start);
    QTest::mouseMove(List.viewport(), Start + QPoint(40, 0));
    QTest::mouseRelease(List.viewport(), Qt::LeftButton, {}, End);
  }
  // Something fails as the second sprite is reported, as a lack of memory would.
  void FailAtSecondCut() {
    Services.OnPump = [this] {
      if (Probe().StatusText().endsWith("Total now 2")) throw std::bad_alloc();
    };
  }
  // The manual cutter's user cuts B out at its first wait.
  void CutAtB() {
    Services.WaitSteps.push_back([this] {
      QTest::mousePress(&Probe().ManualClipper(), Qt::LeftButton, {}, QPoint(5, 2));
      QTest::mouseRelease(&Probe().ManualClipper(), Qt::LeftButton, {}, QPoint(4, 1));
    });
  }

 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    Probe().Document().Add(MakeSprite(1, 1, {0x1234}));
    Probe().Document().Add(DrawSheet(Sheet));
    Probe().Document().Add(MakeSprite(2, 2, {1, 2, 3, 4}));
    Probe().Document().Add(MakeSprite(3, 1, {5, 6, 7}));
    Window->PopulateImageList();
    Probe().SelectItem(1);
  }
  TSnapshot Snapshot() const {
    TSnapshot Result;
    for (int I = 0; I < Probe().Document().Count(); ++I) {
      const TS16Sprite& Sprite = Probe().Document().GetSprite(I);
      Result.Sprites.emplace_back(Sprite.Width(), Sprite.Height(), SpriteWords(Sprite));
    }
    return Result;
  }
  // Each item's caption and picture are the ones a rebuild from nothing would give.
  void ExpectListShowsDocument() {
    const auto Shown = [this] {
      std::vector<std::pair<QString, QImage>> Items;
      for (int I = 0; I < Probe().Items().Count(); ++I)
        Items.emplace_back(Probe().Items().Item(I).Caption,
                           Probe().Thumbnails().Image(Probe().Items().Item(I).ImageIndex).copy());
      return Items;
    };
    const auto Before = Shown();
    Window->PopulateImageList();
    EXPECT_EQ(Before, Shown());
  }
};

struct TStep {
  std::string Name;
  std::string Text;  // what the Undo entry names it
  std::function<void(HistoryCommands&)> Command;
};

class HistoryOfEachCommand : public HistoryCommands, public testing::WithParamInterface<TStep> {};

TEST_P(HistoryOfEachCommand, UndoGivesBackTheDocumentBeforeAndRedoTheOneAfter) {
  const TSnapshot Before = Snapshot();
  GetParam().Command(*this);
  Services.OnPump = nullptr;
  const TSnapshot After = Snapshot();
  ASSERT_NE(Before, After);
  Window->MarkClean();
  Undo();
  EXPECT_EQ(Snapshot(), Before);
  EXPECT_TRUE(Probe().Modified());
  EXPECT_TRUE(Window->windowTitle().endsWith(" *"));
  ExpectListShowsDocument();
  Redo();
  EXPECT_EQ(Snapshot(), After);
  ExpectListShowsDocument();
  Window->Edit1Click();
  EXPECT_EQ(Probe().Entry("Undo1").text().toStdString(), "&Undo " + GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    , HistoryOfEachCommand,
    testing::Values(
        TStep{"ImportFrom", "Import From",
              [](HistoryCommands& T) {
                SaveBmpFile(MakeBitmap(TPixelFormat::pf24bit, 5, 2), T.Dir.File("in.bmp"));
                T.Services.DialogAnswers.push_back(TDialogAnswer{T.Dir.File("in.bmp"), 0});
                T.Choose("ImportFrom1");
              }},
        TStep{"ImportSpriteSheet", "Import Sprite Sheet…",
              [](HistoryCommands& T) {
                T.Services.SheetExportAnswers.push_back([](TSheetExportSettings&) {});
                T.Services.DialogAnswers.push_back(TDialogAnswer{T.Dir.File("sheet.png"), 0});
                T.Run("ExportSpriteSheet1");
                T.Services.DialogAnswers.push_back(TDialogAnswer{T.Dir.File("sheet.json"), 0});
                T.Run("ImportSpriteSheet1");
              }},
        TStep{"Paste", "Paste", [](HistoryCommands& T) { T.Paste(5); }},
        TStep{"PasteOver", "Paste Over",
              [](HistoryCommands& T) {
                T.Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 5, 3);
                T.Choose("PasteOver1");
              }},
        TStep{"Cut", "Cut", [](HistoryCommands& T) { T.Choose("Cut1"); }},
        TStep{"Delete", "Delete", [](HistoryCommands& T) { T.Choose("Delete1"); }},
        TStep{"ExpandSprite", "Expand Sprite",
              [](HistoryCommands& T) {
                T.Services.Answers = {TMsgResult::Yes};
                T.Window->ExpandSprite1Click();
              }},
        TStep{"ManualExpansion", "Perform Manual Expansion",
              [](HistoryCommands& T) {
                T.CutAtB();
                T.Services.WaitSteps.push_back([&T] { T.Window->Finish1Click(); });
                T.Window->ExpandManualClick();
              }},
        TStep{"MoveEarlier", "Move Earlier", [](HistoryCommands& T) { T.Choose("MoveEarlier1"); }},
        TStep{"MoveLater", "Move Later", [](HistoryCommands& T) { T.Choose("MoveLater1"); }},
        TStep{"Drag", "Move", [](HistoryCommands& T) { T.DragFirstItemTo(QPoint(600, 300)); }}),
    [](const auto& Info) { return Info.param.Name; });

// Keys typed ahead while a command lets messages run: those that change the document are not
// run inside it, where they would act on a document changing under it.
TEST_F(HistoryCommands, NoCommandThatChangesTheDocumentRunsInsideAnother) {
  Choose("Cut1");
  const TSnapshot AfterCut = Snapshot();
  Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 5, 3);
  bool Typed = false;
  Services.OnPump = [&] {
    if (std::exchange(Typed, true)) return;
    for (const char* Keys : {"Ctrl+Z", "Ctrl+X", "Ctrl+V", "Ctrl+Shift+Left"})
      Window->DispatchShortcut(QKeySequence(Keys));
  };
  Choose("Paste1");
  Services.OnPump = nullptr;
  EXPECT_EQ(Probe().History().Count(), 2);
  Undo();
  EXPECT_EQ(Snapshot(), AfterCut);
}

// A failed expansion leaves the document and the list as they were, and no step to undo.
TEST_F(HistoryCommands, CutAfterAFailedExpansionIsUndoneWithIt) {
  const TSnapshot Before = Snapshot();
  Services.Answers = {TMsgResult::Yes};
  FailAtSecondCut();
  Window->ExpandSprite1Click();
  Services.OnPump = nullptr;
  Probe().SelectItem(0);
  Choose("Cut1");
  ExpectListShowsDocument();
  Undo();
  Undo();
  EXPECT_EQ(Snapshot(), Before);
}

TEST_F(HistoryCommands, ADragLetGoOutsideTheListMovesNothing) {
  const TSnapshot Before = Snapshot();
  DragFirstItemTo(QPoint(-30, 5000));
  EXPECT_EQ(Snapshot(), Before);
  EXPECT_EQ(Probe().History().Count(), 0);
}

TEST_F(HistoryCommands, MovesKeepEachPictureWithItsSpriteAndTheSelectionFollows) {
  const QImage Picture = Probe().Thumbnails().Image(Probe().Items().Item(1).ImageIndex);
  Choose("MoveLater1");
  Choose("MoveLater1");
  EXPECT_EQ(Probe().Images().currentIndex().row(), 3);
  EXPECT_EQ(Probe().Items().Item(3).Caption, "[3] - 7 by 4");
  EXPECT_EQ(Probe().Thumbnails().Image(Probe().Items().Item(3).ImageIndex), Picture);
  Window->Edit1Click();
  EXPECT_FALSE(Probe().Enabled("MoveLater1"));
  EXPECT_TRUE(Probe().Enabled("MoveEarlier1"));
  Undo();
  EXPECT_EQ(Probe().Images().currentIndex().row(), 2);
  ExpectListShowsDocument();
}

TEST_F(HistoryCommands, TwentyMixedStepsUndoToTheStartAndRedoToTheEnd) {
  std::mt19937 Random(11);
  std::vector<TSnapshot> States{Snapshot()};
  while (Probe().History().Count() < 20) {
    const int Count = Probe().Document().Count();
    if (Count > 0) Probe().SelectItem(int(Random() % Count));
    const char* Entries[] = {"Paste1", "Cut1", "PasteOver1", "MoveEarlier1", "MoveLater1"};
    Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, int(Random() % 6 + 1), 2);
    Choose(Count == 0 ? "Paste1" : Entries[Random() % 5]);
    if (Probe().History().Count() == int(States.size())) States.push_back(Snapshot());
  }
  ASSERT_EQ(Probe().History().Count(), 20);
  for (int I = 19; I >= 0; --I) {
    Undo();
    ASSERT_EQ(Snapshot(), States[I]) << I;
  }
  EXPECT_FALSE(Probe().History().CanUndo());
  for (int I = 1; I <= 20; ++I) {
    Redo();
    ASSERT_EQ(Snapshot(), States[I]) << I;
  }
  ExpectListShowsDocument();
}

TEST_F(HistoryCommands, PastTheBoundTheOldestStepsAreDroppedAndUndoStopsThere) {
  // Each Paste holds 40 x 3 words.
  Probe().History().SetByteLimit(3 * 40 * 3 * 2);
  const TSnapshot Start = Snapshot();
  for (int I = 0; I < 5; ++I) Paste(40);
  EXPECT_EQ(Probe().History().Count(), 3);
  EXPECT_LE(Probe().History().Bytes(), Probe().History().ByteLimit());
  for (int I = 0; I < 3; ++I) Undo();
  EXPECT_FALSE(Probe().History().CanUndo());
  EXPECT_EQ(Probe().Document().Count(), int(Start.Sprites.size()) + 2);
  Redo();
  EXPECT_EQ(Probe().Document().Count(), int(Start.Sprites.size()) + 3);
}

TEST_F(HistoryCommands, NewAndOpenEmptyTheHistoryAndSaveKeepsIt) {
  const std::string Path = Dir.File("saved.s16");
  Paste(2);
  Services.DialogAnswers = {TDialogAnswer{Path, 1}, TDialogAnswer{Path, 1}};
  Window->SaveAs1Click();
  EXPECT_TRUE(Probe().History().CanUndo());
  Window->Open1Click();
  EXPECT_FALSE(Probe().History().CanUndo());
  Paste(2);
  Services.Answers = {TMsgResult::No};
  Window->New1Click();
  Window->Edit1Click();
  EXPECT_FALSE(Probe().Enabled("Undo1"));
}

TEST_F(HistoryCommands, UndoAndRedoAreEnabledNamedAndKeyedThroughTheMenuOrderDispatch) {
  Window->Edit1Click();
  EXPECT_FALSE(Probe().Enabled("Undo1"));
  EXPECT_FALSE(Probe().Enabled("Redo1"));
  EXPECT_TRUE(Window->DispatchShortcut(QKeySequence("Ctrl+Z")));  // held, though disabled
  Paste(2);
  const TSnapshot Pasted = Snapshot();
  Window->DispatchShortcut(QKeySequence("Ctrl+Z"));
  EXPECT_EQ(Probe().Document().Count(), 4);
  Window->Edit1Click();
  EXPECT_EQ(Probe().Entry("Redo1").text(), "&Redo Paste");
  Window->DispatchShortcut(QKeySequence("Ctrl+Y"));
  EXPECT_EQ(Snapshot(), Pasted);
  Window->DispatchShortcut(QKeySequence("Ctrl+Z"));
  Window->DispatchShortcut(QKeySequence("Ctrl+Shift+Z"));
  EXPECT_EQ(Snapshot(), Pasted);
  Window->Edit1Click();
  EXPECT_FALSE(Probe().Enabled("Redo1"));
  Probe().SelectItem(2);
  Window->DispatchShortcut(QKeySequence("Ctrl+Shift+Right"));
  Window->DispatchShortcut(QKeySequence("Ctrl+Shift+Left"));
  Window->DispatchShortcut(QKeySequence("Ctrl+Shift+Left"));
  EXPECT_EQ(Probe().Images().currentIndex().row(), 1);
  Window->Edit1Click();
  EXPECT_EQ(Probe().Entry("Undo1").text(), "&Undo Move Earlier");
}

// Where the document was last opened, saved or made new, undo brings back a document with
// nothing to save: no " *", and no question on closing.
struct TCleanPoint {
  std::string Name;
  std::function<std::string(HistoryCommands&)> Make;  // the title's name afterwards
};

class HistoryCleanPoint : public HistoryCommands,
                          public testing::WithParamInterface<TCleanPoint> {};

TEST_P(HistoryCleanPoint, UndoBackToItDropsTheMarkerAndClosingAsksNothing) {
  const std::string Name = GetParam().Make(*this);
  Paste(2);
  Paste(3);
  Undo();
  EXPECT_TRUE(Probe().Modified());
  Undo();
  EXPECT_EQ(Window->windowTitle().toStdString(), "The Pelbrook - [" + Name + "]");
  EXPECT_FALSE(Probe().Modified());
  Redo();
  EXPECT_TRUE(Window->windowTitle().endsWith(" *"));
  Undo();
  Services.Shown.clear();
  EXPECT_TRUE(Window->close());
  EXPECT_TRUE(Services.Shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    , HistoryCleanPoint,
    testing::Values(TCleanPoint{"Open",
                                [](HistoryCommands& T) {
                                  const std::string Path = T.SaveAs();
                                  T.Services.DialogAnswers.push_back(TDialogAnswer{Path, 1});
                                  T.Window->Open1Click();
                                  return Path;
                                }},
                    TCleanPoint{"SaveAfterAChange",
                                [](HistoryCommands& T) {
                                  T.Choose("Cut1");
                                  return T.SaveAs();
                                }},
                    // The two Pastes after it hold 2 x 3 and 3 x 3 words: the bound drops every
                    // step before the save.
                    TCleanPoint{"SaveKeptWhileTheBoundDropsOlderSteps",
                                [](HistoryCommands& T) {
                                  for (int I = 0; I < 3; ++I) T.Paste(2);
                                  T.Probe().History().SetByteLimit((6 + 9) * 2);
                                  return T.SaveAs();
                                }},
                    TCleanPoint{"New",
                                [](HistoryCommands& T) {
                                  T.Window->New1Click();
                                  return std::string("Untitled");
                                }}),
    [](const auto& Info) { return Info.param.Name; });

// A saved state the bound dropped from the history leaves the marker on for good.
TEST_F(HistoryCommands, ACleanPointTheBoundDroppedIsNeverReachedAgain) {
  SaveAs();
  Probe().History().SetByteLimit(2 * 40 * 3 * 2);  // two Pastes of 40 x 3 words
  for (int I = 0; I < 3; ++I) Paste(40);
  for (int I = 0; I < 2; ++I) {
    Undo();
    EXPECT_TRUE(Window->windowTitle().endsWith(" *")) << I;
  }
}

}  // namespace
