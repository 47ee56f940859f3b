#pragma once
// One sprite at full size in a window of its own: zoomed 1x to 16x, black (the game's
// transparent colour) over a checkerboard or shown black, and a read-out of the pixel under
// the mouse. The main window keeps it on its sprite as the document changes.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "sprites/unitS16Handler.h"

class QCheckBox;
class QLabel;
class QScrollArea;

class TSpriteViewer : public QWidget {
  Q_OBJECT

 public:
  static constexpr int MaxZoom = 16;

  // A window of its own, over Owner, showing sprite Index of the document.
  TSpriteViewer(QWidget* Owner, int Index, const TS16Sprite& Sprite);

  int Index() const { return FIndex; }
  // The sprite at Index, as it now is.
  void ShowSprite(int Index, const TS16Sprite& Sprite);

  int Zoom() const { return FZoom; }
  void SetZoom(int Zoom);
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
  // The largest zoom at which the whole sprite fits in most of the screen.
  int FittingZoom() const;
  void MouseAt(QPoint Point);

  int FIndex;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint16_t> FWords;  // 5-6-5
  QImage FImage;                      // black pixels clear
  int FZoom = 1;
  TCanvas* FCanvas = nullptr;
  QScrollArea* FScroller = nullptr;
  QCheckBox* FCheckerboard = nullptr;
  QLabel* FReadOut = nullptr;
};
