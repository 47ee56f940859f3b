// Expand Sprite and the manual cutter as a user's session goes: the prompts and their answers,
// the views over the list, the status texts, and the document and title afterwards. The manual
// cutter's user presses and releases the mouse on its image (QTest) each time it waits.

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QTest>
#include <filesystem>

#include "tests/support/SheetArt.h"
#include "tests/support/WindowFixture.h"

namespace {

// Three sprites on grey padding: A and B in the first row, C below.
const TArt Sheet = {".......",  //
                    ".AA.BB.",  //
                    ".AA.BB.",  //
                    ".......",  //
                    ".CCC...",  //
                    "......."};

std::vector<std::pair<int, int>> SizesOf(const TS16File& File) {
  std::vector<std::pair<int, int>> Result;
  for (int I = 0; I < File.Count(); ++I)
    Result.emplace_back(File.GetSprite(I).Width(), File.GetSprite(I).Height());
  return Result;
}

class CutterCommands : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    Probe().Document().Add(MakeSprite(1, 1, {0x1234}));
    Probe().Document().Add(DrawSheet(Sheet));
    Probe().Document().Add(MakeSprite(2, 2));
    Window->PopulateImageList();
    Probe().SelectItem(1);
    ForgetSeen();
  }
  std::vector<std::pair<int, int>> Sizes() const { return SizesOf(Probe().Document()); }
  // Each sprite's width and words, in order.
  std::vector<std::pair<int, TWords>> Contents() const {
    std::vector<std::pair<int, TWords>> Result;
    for (int I = 0; I < Probe().Document().Count(); ++I)
      Result.emplace_back(Probe().Document().GetSprite(I).Width(),
                          SpriteWords(Probe().Document().GetSprite(I)));
    return Result;
  }
  std::string Title() const { return Window->windowTitle().toStdString(); }
  void Press(int X, int Y, Qt::MouseButton Button = Qt::LeftButton) {
    QTest::mousePress(&Probe().ManualClipper(), Button, {}, QPoint(X, Y));
  }
  void Release(int X, int Y) {
    QTest::mouseRelease(&Probe().ManualClipper(), Qt::LeftButton, {}, QPoint(X, Y));
  }
  void Step(std::function<void()> Action) { Services.WaitSteps.push_back(std::move(Action)); }
  // The manual cutter's user cuts A out at its next wait, then B at the one after.
  void CutA() {
    Step([this] {
      Press(1, 1);
      Release(2, 2);
    });
  }
  void CutB() {
    Step([this] {
      Press(4, 1);
      Release(5, 2);
    });
  }
  // Runs Action once, at the pump that shows the second cut of Expand Sprite.
  void AtSecondExpansionCut(std::function<void()> Action) {
    Services.OnPump = [this, Action = std::move(Action), Done = false]() mutable {
      if (!Done && Probe().StatusText().endsWith("Total now 2")) {
        Done = true;
        Action();
      }
    };
  }
  // The answers that start Command past its prompts.
  std::deque<TMsgResult> Start(void (TPelbrookMainWindow::*Command)(), bool Modified) const {
    std::deque<TMsgResult> Answers;
    if (Modified) Answers.push_back(TMsgResult::No);
    if (Command == &TPelbrookMainWindow::ExpandSprite1Click) Answers.push_back(TMsgResult::Yes);
    return Answers;
  }
  // The texts of the boxes shown from the Firstth on, by their start.
  std::vector<std::string> AskedFrom(std::size_t First) const {
    std::vector<std::string> Texts;
    for (std::size_t I = First; I < Services.Shown.size(); ++I)
      Texts.push_back(Services.Shown[I].Text.substr(0, 24));
    return Texts;
  }
};

const TMessageBoxRequest Crash{
    "The software crashed. I suggest you re-load your previous file and try the process "
    "manually. Sorry.",
    "The Pelbrook", TMsgButtons::Ok, TMsgIcon::Information};

constexpr auto Expand = &TPelbrookMainWindow::ExpandSprite1Click;
constexpr auto Manual = &TPelbrookMainWindow::ExpandManualClick;

struct TPrompted {
  std::string Name;
  void (TPelbrookMainWindow::*Command)();
  bool Selected;
  bool Modified;
  std::deque<TMsgResult> Answers;
  std::vector<std::string> Texts;  // the boxes shown, by the start of their text
  bool Ran;
};

class CutterPrompts : public CutterCommands, public testing::WithParamInterface<TPrompted> {};

TEST_P(CutterPrompts, EndWithNothingChangedOrLetTheCutterRun) {
  const TPrompted& Case = GetParam();
  if (!Case.Selected) Probe().Images().clearSelection();
  if (Case.Modified) Window->MarkModified();
  Services.Answers = Case.Answers;
  Step([this] { Window->Finish1Click(); });
  (Window.get()->*Case.Command)();
  std::vector<std::string> Texts;
  for (const TMessageBoxRequest& Box : Services.Shown) Texts.push_back(Box.Text.substr(0, 24));
  EXPECT_EQ(Texts, Case.Texts);
  EXPECT_EQ(Probe().Document().Count(), Case.Ran ? (Case.Command == Expand ? 5 : 2) : 3);
  EXPECT_EQ(Probe().Modified(), Case.Ran || Case.Modified);
}

const std::string Select = "Sorry. You can only Expa", Unsaved = "Warning, this operation ",
                  Layout = "Warning, this operation ";
INSTANTIATE_TEST_SUITE_P(
    , CutterPrompts,
    testing::Values(
        TPrompted{"ExpandWithoutSelection", Expand, false, false, {}, {Select}, false},
        TPrompted{"ManualWithoutSelection", Manual, false, false, {}, {Select}, false},
        TPrompted{
            "ExpandUnsavedCancel", Expand, true, true, {TMsgResult::Cancel}, {Unsaved}, false},
        // Yes saves first; the Save As dialog is cancelled, so the changes are not safe.
        TPrompted{
            "ManualUnsavedYesNotSaved", Manual, true, true, {TMsgResult::Yes}, {Unsaved}, false},
        TPrompted{"ExpandLayoutNo", Expand, true, false, {TMsgResult::No}, {Layout}, false},
        TPrompted{"ExpandUnsavedNoLayoutYes",
                  Expand,
                  true,
                  true,
                  {TMsgResult::No, TMsgResult::Yes},
                  {Unsaved, Layout},
                  true},
        TPrompted{"ManualUnsavedNo", Manual, true, true, {TMsgResult::No}, {Unsaved}, true}),
    [](const auto& Info) { return Info.param.Name; });

TEST_F(CutterCommands, TheUnsavedQuestionDefaultsToNo) {
  Window->MarkModified();
  Services.Answers = {TMsgResult::Cancel};
  Window->ExpandSprite1Click();
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0].Buttons, TMsgButtons::YesNoCancel);
  EXPECT_EQ(Services.Shown[0].Icon, TMsgIcon::Exclamation);
  EXPECT_TRUE(Services.Shown[0].DefaultSecondButton);
}

TEST_F(CutterCommands, ExpandSpriteCutsTheSheetInPassesOverTheListAndMarksTheDocument) {
  Services.Answers = {TMsgResult::Yes};
  bool ViewShownWhileCutting = false, MenuAttachedWhileCutting = false;
  Services.OnPump = [&] {
    Watch();
    if (Probe().StatusText().startsWith("Splitting")) {
      ViewShownWhileCutting = Probe().AutoCutter().isVisible();
      MenuAttachedWhileCutting |= Window->MenuAttached();
    }
  };
  Window->ExpandSprite1Click();
  EXPECT_EQ(Sizes(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {2, 2}, {3, 1}, {2, 2}}));
  const std::vector<std::string> Expected = {
      "Splitting the Bitmap...",
      "Splitting the Bitmap, Pass 1 - Total Images now 0",
      "Splitting the Bitmap, Pass 1. Found Sprite at: 1,1 - 2,2 - Total now 1",
      "Splitting the Bitmap, Pass 1. Found Sprite at: 4,1 - 5,2 - Total now 2",
      "Splitting the Bitmap, Pass 2 - Total Images now 2",
      "Splitting the Bitmap, Pass 2. Found Sprite at: 1,4 - 3,4 - Total now 3",
      "Splitting the Bitmap, Pass 3 - Total Images now 3"};
  ASSERT_GE(Seen.StatusTexts.size(), Expected.size());
  EXPECT_EQ(std::vector<std::string>(Seen.StatusTexts.begin(),
                                     Seen.StatusTexts.begin() + std::ptrdiff_t(Expected.size())),
            Expected);
  EXPECT_EQ(Seen.StatusTexts.back(), "Thumbnails generated.");
  EXPECT_TRUE(ViewShownWhileCutting);
  EXPECT_FALSE(MenuAttachedWhileCutting);
  EXPECT_FALSE(Probe().AutoCutter().isVisible());
  EXPECT_TRUE(Window->MenuAttached());
  EXPECT_EQ(Probe().Items().Count(), 5);
  EXPECT_EQ(Title(), "The Pelbrook - [Untitled] *");
}

TEST_F(CutterCommands, EscapeStopsExpandSpriteLeavingTheDocumentAsItWas) {
  const auto Before = Contents();
  Services.Answers = {TMsgResult::Yes};
  AtSecondExpansionCut([this] { QTest::keyClick(&Probe().AutoCutImg(), Qt::Key_Escape); });
  Window->ExpandSprite1Click();
  EXPECT_EQ(Contents(), Before);
  EXPECT_EQ(Services.Shown.size(), 1u);  // the layout warning, no other
  EXPECT_EQ(Probe().History().Count(), 0);
  EXPECT_EQ(Probe().Items().Count(), 3);
  EXPECT_EQ(Probe().Progress(), -1);
  EXPECT_FALSE(Probe().AutoCutter().isVisible());
  EXPECT_TRUE(Window->MenuAttached());
  EXPECT_EQ(Title(), "The Pelbrook - [Untitled]");
}

const TMessageBoxRequest Limit{
    "Sorry. A sprite file can only hold 65535 sprites, and expanding this sprite would make "
    "more. Your file has been left as it was.",
    "The Pelbrook", TMsgButtons::Ok, TMsgIcon::Stop};

struct TFailure {
  std::string Name;
  void (TPelbrookMainWindow::*Command)();
  bool Modified;
  bool AtLimit;  // the document holds as many sprites as a sprite file can
};

class FailedCutters : public CutterCommands, public testing::WithParamInterface<TFailure> {};

TEST_P(FailedCutters, ApologiseAndLeaveTheDocumentListAndTitleAsTheyWere) {
  const TFailure& Case = GetParam();
  if (Case.AtLimit) {
    Probe().Entry("Off1").setChecked(true);  // the list is made faster without pictures
    while (Probe().Document().Count() < TS16File::MaxSprites)
      Probe().Document().Add(MakeSprite(1, 1));
    Window->PopulateImageList();
    Probe().SelectItem(1);
  }
  if (Case.Modified) Window->MarkModified();
  const std::string TitleBefore = Title();
  const auto Before = Contents();
  Services.Answers = Start(Case.Command, Case.Modified);
  // Expand Sprite runs out of memory at its second cut, or meets the limit there; the manual
  // cutter's second cut meets the limit, or its user's steps run out after the first.
  if (Case.Command == Expand && !Case.AtLimit) AtSecondExpansionCut([] { throw std::bad_alloc(); });
  if (Case.Command == Manual) CutA();
  if (Case.Command == Manual && Case.AtLimit) CutB();
  (Window.get()->*Case.Command)();

  EXPECT_EQ(Services.Shown.back(), Case.AtLimit ? Limit : Crash);
  EXPECT_EQ(Contents(), Before);
  EXPECT_EQ(Probe().Items().Count(), Probe().Document().Count());
  EXPECT_EQ(Probe().Modified(), Case.Modified);
  EXPECT_EQ(Title(), TitleBefore);
  EXPECT_EQ(Probe().History().Count(), 0);
  EXPECT_FALSE(Probe().AutoCutter().isVisible());
  EXPECT_FALSE(Probe().ManualScroller().isVisible());
  EXPECT_TRUE(Window->MenuAttached());
}

INSTANTIATE_TEST_SUITE_P(, FailedCutters,
                         testing::Values(TFailure{"ExpandOutOfMemory", Expand, false, false},
                                         TFailure{"ExpandOutOfMemoryModified", Expand, true, false},
                                         TFailure{"ExpandAtTheSpriteLimit", Expand, true, true},
                                         TFailure{"ManualWaitFails", Manual, false, false},
                                         TFailure{"ManualAtTheSpriteLimit", Manual, false, true}),
                         [](const auto& Info) { return Info.param.Name; });

TEST_F(CutterCommands, TheManualCutterCutsWhereTheUserClicksUntilFinished) {
  Step([&] {
    EXPECT_TRUE(Probe().ManualScroller().isVisible());
    EXPECT_FALSE(Window->MenuAttached());
    Press(0, 0);  // padding
    Release(0, 0);
  });
  Step([&] {
    Press(5, 2);  // inside B: the marker grows to its box, the release asks for the cut
    EXPECT_TRUE(Probe().ShapeMarker().isVisible());
    EXPECT_EQ(Probe().ShapeMarker().geometry(), QRect(4, 1, 2, 2));
    Release(4, 1);
  });
  Step([&] {
    EXPECT_FALSE(Probe().ShapeMarker().isVisible());
    Press(2, 4);  // inside C, released outside its box: nothing is cut
    Release(6, 5);
  });
  Step([&] {
    EXPECT_TRUE(Probe().ShapeMarker().isVisible());
    // A press on the marker is the marker's: it hides.
    QTest::mousePress(&Probe().ShapeMarker(), Qt::LeftButton, {}, QPoint(1, 0));
    EXPECT_FALSE(Probe().ShapeMarker().isVisible());
    Press(1, 1);
    Release(2, 2);
  });
  Step([&] {
    // The right button opens the cutter's menu; Ctrl+F finishes wherever the focus is.
    QContextMenuEvent Menu(QContextMenuEvent::Mouse, QPoint(3, 3),
                           Probe().ManualClipper().mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(&Probe().ManualClipper(), &Menu);
    EXPECT_TRUE(Probe().SplitterMenu().isVisible());
    Probe().SplitterMenu().hide();
    QTest::keyClick(&Probe().FinishButton(), Qt::Key_F, Qt::ControlModifier);
  });
  Window->ExpandManualClick();

  const TMessageBoxRequest Mask{"You have clicked in some mask...", "The Pelbrook", TMsgButtons::Ok,
                                TMsgIcon::Stop};
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{Mask});
  EXPECT_EQ(Sizes(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {2, 2}, {2, 2}}));
  EXPECT_EQ(Probe().Document().GetSprite(1).PixelData()[0], ArtWord('B'));
  EXPECT_EQ(Probe().Document().GetSprite(2).PixelData()[0], ArtWord('A'));
  EXPECT_NE(std::find(Seen.StatusTexts.begin(), Seen.StatusTexts.end(),
                      "Splitting the Bitmap, Found Sprite at: 1,1 - 2,2 - Total now 2"),
            Seen.StatusTexts.end());
  EXPECT_EQ(Services.SoundsPlayed.front(), "/opt/pelbrook/bin/cutter.wav");
  EXPECT_EQ(Probe().ManualCut(), nullptr);
  EXPECT_FALSE(Probe().ManualScroller().isVisible());
  EXPECT_EQ(Probe().Items().Count(), 4);
  EXPECT_EQ(Title(), "The Pelbrook - [Untitled] *");
}

TEST_F(CutterCommands, FinishingBeforeAnyCutLeavesNothingInTheCompositesPlace) {
  Step([&] { Probe().FinishButton().click(); });
  Window->ExpandManualClick();
  EXPECT_EQ(Sizes(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
  EXPECT_TRUE(Probe().Modified());
}

TEST_F(CutterCommands, ClosingTheWindowWhileCuttingEndsTheCutAndKeepsTheWindowOpen) {
  Window->MarkModified();
  Services.Answers = {TMsgResult::No};  // not saved before cutting
  Step([&] {
    Services.Answers = {TMsgResult::Yes};
    EXPECT_FALSE(Window->close());
    EXPECT_EQ(Services.Shown.back().Text, "Are you trying to close the Manual Clipping window?");
    EXPECT_EQ(Services.Shown.back().Buttons, TMsgButtons::YesNo);
  });
  Window->ExpandManualClick();
  EXPECT_EQ(Services.Shown.size(), 2u);  // no question about the changes
  EXPECT_TRUE(Window->isVisible());
  EXPECT_FALSE(Probe().ManualScroller().isVisible());
  EXPECT_EQ(Probe().Document().Count(), 2);
}

const std::string CutterQuestion = "Are you trying to close ",
                  SaveQuestion = "This file has been modif";

enum class TCloseAt { Cutting, Rebuilding };

struct TClose {
  std::string Name;
  void (TPelbrookMainWindow::*Command)();
  bool Titled;  // the document has a file to be saved to
  bool Modified;
  int Cuts;  // made by the manual cutter before the close
  TCloseAt At;
  std::deque<TMsgResult> Answers;  // to the close's boxes
  std::vector<std::string> Asked;  // the close's boxes, by the start of their text
  bool Closed;
  std::vector<std::pair<int, int>> Written;  // the saved file's sprites; none: nothing written
};

class ClosingDuringACutter : public CutterCommands, public testing::WithParamInterface<TClose> {};

TEST_P(ClosingDuringACutter, LosesNoWorkAndWritesNoDocumentWithoutItsSheet) {
  const TClose& Case = GetParam();
  const std::string Path = Dir.File("sheet.s16");
  if (Case.Titled) {
    Services.DialogAnswers.push_back(TDialogAnswer{Path, 1});
    Window->SaveAs1Click();
    std::filesystem::remove(Path);
    Probe().SelectItem(1);
  }
  if (Case.Modified) Window->MarkModified();
  const auto Before = Contents();
  Services.Answers = Start(Case.Command, Case.Modified);
  std::size_t FirstAsked = 0;
  const auto CloseNow = [&] {
    FirstAsked = Services.Shown.size();
    Services.Answers = Case.Answers;
    Window->close();
  };
  if (Case.Command == Expand) AtSecondExpansionCut(CloseNow);
  if (Case.Command == Manual && Case.Cuts > 0) CutA();
  if (Case.At == TCloseAt::Cutting && Case.Command == Manual) Step(CloseNow);
  if (Case.At == TCloseAt::Rebuilding) {
    Step([this] { Window->Finish1Click(); });
    Services.OnPump = [&, Done = false]() mutable {
      if (!Done && Probe().StatusText() == "Populating Images List...") {
        Done = true;
        CloseNow();
      }
    };
  }
  (Window.get()->*Case.Command)();

  EXPECT_EQ(AskedFrom(FirstAsked), Case.Asked);
  EXPECT_EQ(Window->isVisible(), !Case.Closed);
  EXPECT_EQ(std::filesystem::exists(Path), !Case.Written.empty());
  if (!Case.Written.empty()) {
    TS16File Saved;
    Saved.LoadFromFile(Path);
    EXPECT_EQ(SizesOf(Saved), Case.Written);
  }
  // Expand Sprite is stopped before anything is asked, and leaves no trace.
  if (Case.Command == Expand && Case.At == TCloseAt::Cutting) {
    EXPECT_EQ(Contents(), Before);
    EXPECT_EQ(Probe().History().Count(), 0);
  }
}

const std::vector<std::pair<int, int>> SheetAfterCutA = {{1, 1}, {2, 2}, {7, 6}, {2, 2}},
                                       AsBefore = {{1, 1}, {7, 6}, {2, 2}};
constexpr auto Yes = TMsgResult::Yes, No = TMsgResult::No, Cancel = TMsgResult::Cancel;
constexpr auto Cutting = TCloseAt::Cutting, Rebuilding = TCloseAt::Rebuilding;
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    , ClosingDuringACutter,
    testing::Values(
        // No to the cutter's question is a close of the program: the save keeps the sheet.
        TClose{"ManualModifiedSaved", Manual, true, true, 1, Cutting,
               {No, Yes}, {CutterQuestion, SaveQuestion}, true, SheetAfterCutA},
        // Cuts are unsaved work in a document that was saved before.
        TClose{"ManualSavedCutsCancelled", Manual, true, false, 1, Cutting,
               {No, Cancel}, {CutterQuestion, SaveQuestion}, false, {}},
        TClose{"ManualUntitledCutsSaveAsCancelled", Manual, false, false, 1, Cutting,
               {No, Yes}, {CutterQuestion, SaveQuestion}, false, {}},
        TClose{"ManualSavedNoCuts", Manual, true, false, 0, Cutting,
               {No}, {CutterQuestion}, true, {}},
        TClose{"ManualSavedWhileTheListIsRebuilt", Manual, true, false, 1, Rebuilding,
               {No, Cancel}, {CutterQuestion, SaveQuestion}, false, {}},
        TClose{"ExpandModifiedSaved", Expand, true, true, 0, Cutting,
               {Yes}, {SaveQuestion}, true, AsBefore},
        TClose{"ExpandSaved", Expand, true, false, 0, Cutting,
               {}, {}, true, {}}),
    [](const auto& Info) { return Info.param.Name; });
// clang-format on

TEST_F(CutterCommands, TheManualCuttersOpeningTextStaysUntilTheFirstCut) {
  const auto Hover = [this](QWidget& Widget) {
    QEnterEvent Enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&Widget, &Enter);
    const QString Shown = Probe().StatusText();
    QEvent Leave(QEvent::Leave);
    QCoreApplication::sendEvent(&Widget, &Leave);
    return Shown;
  };
  Step([&] {
    // Covered by the cutter, the list lets its hint go.
    QEvent Leave(QEvent::Leave);
    QCoreApplication::sendEvent(&Probe().Images(), &Leave);
    EXPECT_EQ(Probe().StatusText(), "Splitting the Bitmap...");
    EXPECT_EQ(Hover(Probe().FinishButton()),
              "---===Closes the manual cut window, discarding any remaining image.===---");
    EXPECT_EQ(Probe().StatusText(), "Splitting the Bitmap...");
    Press(1, 1);
    Release(2, 2);
  });
  Step([&] {
    Hover(Probe().FinishButton());
    EXPECT_EQ(Probe().StatusText(), "");
    Window->Finish1Click();
  });
  Window->ExpandManualClick();
  EXPECT_EQ(Probe().Document().Count(), 3);
}

}  // namespace
