// The viewer playing the viewed sprite and the ones after it as an animation: the frames it
// shows, its keys, and the run following the document's sprites as they change.

#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <vector>

#include "app/unitSpriteViewer.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/ViewerFixture.h"

namespace {

class ViewerPlayback : public TViewerWindowTest {
 protected:
  void SetUp() override {
    TViewerWindowTest::SetUp();
    Probe().Document().Add(MakeSprite(1, 1, {0x001F}));
    Probe().Document().Add(MakeSprite(1, 1, {0x07E0}));
    Window->PopulateImageList();
  }
  TSpriteViewer& OpenOn(int Item, int Following) {
    Window->OpenViewer(Item);
    TSpriteViewer& Viewer = *Window->findChildren<TSpriteViewer*>().back();
    Viewer.SetFollowing(Following);
    return Viewer;
  }
};

TEST_F(ViewerPlayback, PlaysItsRunInTheBoxOfItsLargestFrameWithTheOnionSkinBeneath) {
  EXPECT_EQ(OpenOn(3, 99).Run(), (std::vector<int>{3, 4}));
  TSpriteViewer& Viewer = OpenOn(0, 1);
  ASSERT_EQ(Viewer.Run(), (std::vector<int>{0, 1}));
  EXPECT_EQ(Viewer.Zoom(), 16);
  EXPECT_EQ(Viewer.Canvas().size(), QSize(48, 32));
  Viewer.SetFramesPerSecond(25);
  EXPECT_EQ(Viewer.findChild<QTimer*>()->interval(), 40);

  Viewer.AdvanceFrame();
  EXPECT_EQ(Viewer.ShownIndex(), 1);
  EXPECT_EQ(Viewer.windowTitle(), "Sprite 1 - 3 by 2");
  Viewer.SetCheckerboard(false);
  Viewer.SetOnionSkin(true);
  // Sprite 1's first pixel is black: sprite 0 shows through it at 30 %.
  const TColour Beneath = Word565ToColour(0x1234);
  const QRgb Onion = CanvasPixel(Viewer, 2, 2);
  EXPECT_NEAR(qRed(Onion), 0.3 * RedOf(Beneath), 2);
  EXPECT_NEAR(qGreen(Onion), 0.3 * GreenOf(Beneath), 2);
  EXPECT_NEAR(qBlue(Onion), 0.3 * BlueOf(Beneath), 2);
  EXPECT_EQ(CanvasPixel(Viewer, 20, 4), qRgb(255, 0, 0));
  Viewer.SetOnionSkin(false);
  EXPECT_EQ(CanvasPixel(Viewer, 2, 2), qRgb(0, 0, 0));

  // Sprite 0, one pixel, stands at the bottom centre of the 3 x 2 box; the read-out is its own.
  Viewer.SetAlignment(TFrameAlignment::BottomCentre);
  Viewer.AdvanceFrame();
  EXPECT_EQ(Viewer.ShownIndex(), 0);
  EXPECT_EQ(CanvasPixel(Viewer, 16 + 3, 16 + 3),
            qRgb(RedOf(Beneath), GreenOf(Beneath), BlueOf(Beneath)));
  MoveOver(Viewer, QPoint(16 + 3, 16 + 3));
  EXPECT_EQ(Viewer.ReadOut(), Viewer.PixelReadOut(0, 0));
  EXPECT_TRUE(Viewer.ReadOut().startsWith("0, 0 - 0x1234"));
  MoveOver(Viewer, QPoint(3, 3));
  EXPECT_EQ(Viewer.ReadOut(), "");
}

struct TKeysCase {
  std::string Name;
  std::vector<Qt::Key> Keys;
  bool Playing;
  int Shown;
  bool InANumberField = false;
};

class ViewerPlaybackKeys : public ViewerPlayback, public testing::WithParamInterface<TKeysCase> {};

TEST_P(ViewerPlaybackKeys, PlayPauseAndStepOneFrame) {
  TSpriteViewer& Viewer = OpenOn(1, 3);
  Viewer.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Viewer));
  QWidget* Typed = &Viewer.Canvas();
  if (GetParam().InANumberField) Typed = Viewer.findChild<QSpinBox*>();
  Typed->setFocus();
  for (Qt::Key Key : GetParam().Keys) QTest::keyClick(Typed, Key);
  EXPECT_EQ(Viewer.Playing(), GetParam().Playing);
  EXPECT_EQ(Viewer.ShownIndex(), GetParam().Shown);
  EXPECT_TRUE(Viewer.Checkerboard());
}

INSTANTIATE_TEST_SUITE_P(
    , ViewerPlaybackKeys,
    testing::Values(TKeysCase{"SpacePlays", {Qt::Key_Space}, true, 1},
                    TKeysCase{"SpaceAgainPauses", {Qt::Key_Space, Qt::Key_Space}, false, 1},
                    TKeysCase{"LeftStepsBackRound", {Qt::Key_Left}, false, 4},
                    TKeysCase{"AnArrowPauses", {Qt::Key_Space, Qt::Key_Right}, false, 2},
                    TKeysCase{"SpaceInANumberFieldPlays", {Qt::Key_Space}, true, 1, true}),
    [](const auto& Info) { return Info.param.Name; });

struct TChangeCase {
  std::string Name;
  int Selected;
  const char* Entry;
  std::vector<int> Run;
};

class ViewerRunChanges : public ViewerPlayback, public testing::WithParamInterface<TChangeCase> {};

// The run is its sprites: one cut or moved away leaves it, the others are followed.
TEST_P(ViewerRunChanges, KeepTheRunsSprites) {
  TSpriteViewer& Viewer = OpenOn(1, 3);
  Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 5, 4);
  Probe().SelectItem(GetParam().Selected);
  Run(GetParam().Entry);
  EXPECT_EQ(Viewer.Run(), GetParam().Run);
}

INSTANTIATE_TEST_SUITE_P(
    , ViewerRunChanges,
    testing::Values(TChangeCase{"CutAFrame", 3, "Cut1", {1, 2, 3}},
                    TChangeCase{"MoveAFrameEarlier", 3, "MoveEarlier1", {1, 3, 4}},
                    TChangeCase{"CutASpriteBeforeTheRun", 0, "Cut1", {0, 1, 2, 3}},
                    TChangeCase{"PasteOverAFrame", 2, "PasteOver1", {1, 2, 3, 4}}),
    [](const auto& Info) { return Info.param.Name; });

}  // namespace
