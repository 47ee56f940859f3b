// The viewer of a single sprite: how it opens, its zoom, its checkerboard and read-out, and
// how it follows the document.

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "app/unitSpriteViewer.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/ViewerFixture.h"

namespace {

class SpriteViewer : public TViewerWindowTest {
 protected:
  void SetUp() override {
    TViewerWindowTest::SetUp();
    Probe().SelectItem(1);
  }
  QList<TSpriteViewer*> Viewers() const {
    QList<TSpriteViewer*> Open;
    for (TSpriteViewer* Viewer : Window->findChildren<TSpriteViewer*>())
      if (Viewer->isVisible()) Open.append(Viewer);
    return Open;
  }
  TSpriteViewer& OpenOn(int Item) {
    Window->OpenViewer(Item);
    return *Viewers().back();
  }
  int ViewerWidth(TSpriteViewer& Viewer) { return int(Viewer.Canvas().width() / Viewer.Zoom()); }
};

TEST_F(SpriteViewer, ADoubleClickOrEnterOnAnItemOpensItsSprite) {
  QListView& List = Probe().Images();
  QCoreApplication::processEvents();  // the list lays its items out
  const QRect Item = List.visualRect(List.model()->index(2, 0));
  QTest::mouseClick(List.viewport(), Qt::LeftButton, {}, Item.center());
  QTest::mouseDClick(List.viewport(), Qt::LeftButton, {}, Item.center());
  ASSERT_EQ(Viewers().size(), 1);
  EXPECT_EQ(Viewers()[0]->Index(), 2);
  Probe().SelectItem(1);
  List.setFocus();
  QTest::keyClick(&List, Qt::Key_Return);
  ASSERT_EQ(Viewers().size(), 2);
  EXPECT_EQ(Viewers()[1]->Index(), 1);
}

TEST_F(SpriteViewer, ZoomStartsAtTheLargestThatFitsAndStaysBetweenOneAndSixteen) {
  TSpriteViewer& Small = OpenOn(1);
  EXPECT_EQ(Small.Zoom(), 16);
  EXPECT_EQ(Small.Canvas().size(), QSize(48, 32));
  QTest::keyClick(&Small, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(Small.Zoom(), 15);
  QWheelEvent Wheel(QPointF(1, 1), Small.Canvas().mapToGlobal(QPointF(1, 1)), {}, {0, -360},
                    Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&Small.Canvas(), &Wheel);
  EXPECT_EQ(Small.Zoom(), 12);
  Small.SetZoom(40);
  EXPECT_EQ(Small.Zoom(), 16);
  QTest::keyClick(&Small, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(Small.Zoom(), 16);
}

// A sprite larger than the screen opens shrunk to fit, its whole window on the screen over the
// main window, and the keys step between the fit and the whole zooms.
TEST_F(SpriteViewer, ASpriteLargerThanTheScreenOpensShrunkWithinIt) {
  Window->move(500, 300);
  Probe().Document().Add(MakeSprite(2048, 2048));
  TSpriteViewer& Large = OpenOn(3);
  const QRect Screen = Window->screen()->availableGeometry();
  EXPECT_LT(Large.Zoom(), 1);
  EXPECT_TRUE(Screen.contains(Large.frameGeometry()));
  QCoreApplication::processEvents();
  const QScrollArea& Scroller = *Large.findChild<QScrollArea*>();
  EXPECT_FALSE(Scroller.horizontalScrollBar()->isVisible());
  EXPECT_FALSE(Scroller.verticalScrollBar()->isVisible());
  QTest::keyClick(&Large, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(Large.Zoom(), 1);
  QTest::keyClick(&Large, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_LT(Large.Zoom(), 1);
  EXPECT_EQ(Large.Canvas().width(), Large.Canvas().height());
  MoveOver(Large, QPoint(Large.Canvas().width() - 1, 0));
  // The last column shown covers the sprite's last few columns, and none beyond it.
  const int Column = Large.ReadOut().section(',', 0, 0).toInt();
  EXPECT_GE(Column, 2047 - 2048 / Large.Canvas().width());
  EXPECT_LE(Column, 2047);
}

struct TStep {
  std::string Name;
  double From;
  int Steps;
  double Fit;
  double To;
};

class ViewerZoomSteps : public testing::TestWithParam<TStep> {};

TEST_P(ViewerZoomSteps, GoByWholeZoomsAndBelowOneOnlyToTheFit) {
  EXPECT_DOUBLE_EQ(SteppedZoom(GetParam().From, GetParam().Steps, GetParam().Fit, 16),
                   GetParam().To);
}

INSTANTIATE_TEST_SUITE_P(, ViewerZoomSteps,
                         testing::Values(TStep{"InFromTheFit", 0.25, 1, 0.25, 1},
                                         TStep{"InThreeFromTwo", 2, 3, 0.25, 5},
                                         TStep{"InPastSixteen", 15, 4, 8, 16},
                                         TStep{"OutFromOneToTheFit", 1, -1, 0.25, 0.25},
                                         TStep{"OutPastTheFit", 3, -5, 0.25, 0.25},
                                         TStep{"OutFromOneWhenOneFits", 1, -1, 4, 1}),
                         [](const auto& Info) { return Info.param.Name; });

class ViewerCloseKey : public SpriteViewer, public testing::WithParamInterface<QKeySequence> {};

TEST_P(ViewerCloseKey, ClosesTheViewer) {
  TSpriteViewer& Viewer = OpenOn(1);
  QTest::keySequence(&Viewer.Canvas(), GetParam());
  EXPECT_TRUE(Viewers().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(, ViewerCloseKey,
                         testing::Values(QKeySequence(Qt::Key_Escape), QKeySequence("Ctrl+W")),
                         [](const auto& Info) {
                           return CaseName(Info.param.toString().toStdString());
                         });

TEST_F(SpriteViewer, BlackIsACheckerboardOrBlackAndTheReadOutNamesThePixel) {
  TSpriteViewer& Viewer = OpenOn(1);
  Viewer.SetZoom(16);
  EXPECT_EQ(CanvasPixel(Viewer, 20, 4), qRgb(255, 0, 0));
  // The first pixel, black, is covered by squares of two shades.
  EXPECT_NE(CanvasPixel(Viewer, 2, 2), CanvasPixel(Viewer, 10, 2));
  EXPECT_NE(qGray(CanvasPixel(Viewer, 2, 2)), 0);
  Viewer.SetCheckerboard(false);
  EXPECT_EQ(CanvasPixel(Viewer, 2, 2), qRgb(0, 0, 0));
  EXPECT_EQ(CanvasPixel(Viewer, 10, 2), qRgb(0, 0, 0));

  MoveOver(Viewer, QPoint(16 * 1 + 3, 16 * 1 + 3));
  EXPECT_EQ(Viewer.ReadOut(), "1, 1 - 0x0000 - #000000");
  MoveOver(Viewer, QPoint(16 * 2 + 15, 16 * 1));
  EXPECT_EQ(Viewer.ReadOut(), "2, 1 - 0x001F - #0000FF");
  EXPECT_EQ(Viewer.PixelReadOut(1, 0), "1, 0 - 0xF800 - #FF0000");
  EXPECT_EQ(Viewer.PixelReadOut(3, 0), "");
}

TEST_F(SpriteViewer, ItFollowsItsSpriteThroughPasteOverUndoAndMovesAndClosesWhenItGoes) {
  TSpriteViewer& Viewer = OpenOn(1);
  Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 5, 4);
  Run("PasteOver1");
  EXPECT_EQ(ViewerWidth(Viewer), 5);
  Window->Undo1Click();
  EXPECT_EQ(ViewerWidth(Viewer), 3);
  Probe().SelectItem(1);
  Run("MoveEarlier1");
  EXPECT_EQ(Viewer.Index(), 0);
  Window->Undo1Click();
  EXPECT_EQ(Viewer.Index(), 1);
  Probe().SelectItem(0);
  Run("Cut1");
  EXPECT_EQ(Viewer.Index(), 0);
  Probe().SelectItem(0);
  Run("Cut1");
  EXPECT_TRUE(Viewers().isEmpty());

  OpenOn(0);
  Services.Answers = {TMsgResult::No};
  Run("New1");
  EXPECT_TRUE(Viewers().isEmpty());
}

}  // namespace
