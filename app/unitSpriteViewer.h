#pragma once
// One sprite at full size in a window of its own: zoomed 1x to 16x, or shrunk to fit a sprite
// larger than the screen, black (the game's transparent colour) over a checkerboard or shown
// black, and a read-out of the pixel under the mouse. It opens within the screen and closes
// with Escape or Ctrl+W. The main window keeps it on its sprite as the document changes.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "sprites/unitS16Handler.h"

class QCheckBox;
class QLabel;
class QScrollArea;

// The largest zoom at which a sprite of Sprite's size fits in Room: a whole number up to
// MaxZoom, or below 1 the fraction that fits it exactly.
double FittingZoom(QSize Sprite, QSize Room, int MaxZoom);
// The zoom Steps key presses or wheel notches away from Zoom: whole numbers up to MaxZoom, and
// below 1 only Fit, the fraction that fits the sprite.
double SteppedZoom(double Zoom, int Steps, double Fit, int MaxZoom);

class TSpriteViewer : public QWidget {
  Q_OBJECT

 public:
  static constexpr int MaxZoom = 16;

  // A window of its own, over Owner and within Owner's screen, showing sprite Index of the
  // document at the largest zoom that fits.
  TSpriteViewer(QWidget* Owner, int Index, const TS16Sprite& Sprite);

  int Index() const { return FIndex; }
  // The sprite at Index, as it now is.
  void ShowSprite(int Index, const TS16Sprite& Sprite);

  double Zoom() const { return FZoom; }
  // Clamped between the fitting fraction (or 1) and MaxZoom.
  void SetZoom(double Zoom);
  bool Checkerboard() const;
  void SetCheckerboard(bool On);
  // What the read-out says of pixel X, Y of the sprite; empty outside it.
  QString PixelReadOut(int X, int Y) const;
  QString ReadOut() const;
  QWidget& Canvas() const;

 protected:
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  class TCanvas;
  // The largest zoom at which the whole sprite fits in the room the screen leaves.
  double FittingZoom() const;
  // The window's size beyond the canvas: margins, the tick box, the read-out, frames.
  QSize ChromeSize() const;
  // Sizes the window to its sprite and places it over Owner, all within the screen.
  void PlaceOnScreen(const QWidget& Owner);
  void MouseAt(QPoint Point);

  int FIndex;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint16_t> FWords;  // 5-6-5
  QImage FImage;                      // black pixels clear
  double FZoom = 1;
  QSize FRoom{1, 1};  // for the canvas
  TCanvas* FCanvas = nullptr;
  QScrollArea* FScroller = nullptr;
  QCheckBox* FCheckerboard = nullptr;
  QLabel* FReadOut = nullptr;
};
