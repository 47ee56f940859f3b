#pragma once
// A main window whose document holds three small sprites, for the tests of its viewers, and
// what they look at: the canvas's pixels, and the read-out under a mouse moved over it.

#include <QMouseEvent>

#include "app/unitSpriteViewer.h"
#include "tests/support/WindowFixture.h"

class TViewerWindowTest : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    // 0xF800 is red; 0 is black, the game's transparent colour.
    Probe().Document().Add(MakeSprite(1, 1, {0x1234}));
    Probe().Document().Add(MakeSprite(3, 2, {0, 0xF800, 0, 0x07E0, 0, 0x001F}));
    Probe().Document().Add(MakeSprite(2, 2, {1, 2, 3, 4}));
    Window->PopulateImageList();
  }
  QRgb CanvasPixel(TSpriteViewer& Viewer, int X, int Y) {
    return Viewer.Canvas().grab().toImage().pixel(X, Y);
  }
  // Straight to the canvas: a moved cursor would find whichever window the platform lists
  // first there, and the viewer covers the main window.
  void MoveOver(TSpriteViewer& Viewer, QPoint Point) {
    QMouseEvent Move(QEvent::MouseMove, QPointF(Point), Viewer.Canvas().mapToGlobal(QPointF(Point)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Viewer.Canvas(), &Move);
  }
};
