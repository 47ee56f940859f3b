// Expand Sprite and the manual cutter as a user's session goes: the prompts and their answers,
// the views over the list, the status texts, and the document and title afterwards. The manual
// cutter's user presses and releases the mouse on its image (QTest) each time it waits.

#include <QContextMenuEvent>
#include <QTest>

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
  std::vector<std::pair<int, int>> Sizes() const {
    std::vector<std::pair<int, int>> Result;
    for (int I = 0; I < Probe().Document().Count(); ++I)
      Result.emplace_back(Probe().Document().GetSprite(I).Width(),
                          Probe().Document().GetSprite(I).Height());
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

TEST_F(CutterCommands, AFailingExpansionApologisesKeepsWhatWasCutAndLeavesTheList) {
  Services.Answers = {TMsgResult::Yes};
  // Something fails as the second sprite is reported, as a lack of memory would.
  Services.OnPump = [&] {
    if (Probe().StatusText().endsWith("Total now 2")) throw std::bad_alloc();
  };
  Window->ExpandSprite1Click();
  EXPECT_EQ(Services.Shown.back(), Crash);
  EXPECT_EQ(Sizes(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {2, 2}}));
  EXPECT_EQ(Probe().Items().Count(), 3);  // not rebuilt
  EXPECT_FALSE(Probe().AutoCutter().isVisible());
  EXPECT_TRUE(Window->MenuAttached());
  EXPECT_EQ(Title(), "The Pelbrook - [Untitled] *");
}

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

TEST_F(CutterCommands, AFailingManualCutterApologisesAndLeavesTheList) {
  Window->ExpandManualClick();  // the user's steps run out: the wait fails
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{Crash});
  EXPECT_EQ(Probe().Document().Count(), 2);
  EXPECT_EQ(Probe().Items().Count(), 3);
  EXPECT_FALSE(Probe().ManualScroller().isVisible());
  EXPECT_TRUE(Window->MenuAttached());
  EXPECT_TRUE(Probe().Modified());
}

}  // namespace
