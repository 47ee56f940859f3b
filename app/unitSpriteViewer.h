#pragma once
// One sprite at full size in a window of its own: zoomed 1x to 16x, or shrunk to fit a sprite
// larger than the screen, black (the game's transparent colour) over a checkerboard or shown
// black, and a read-out of the pixel under the mouse. It opens within the screen and closes
// with Escape or Ctrl+W. It plays the sprite and the ones after it as the frames of an
// animation. The main window keeps it on its sprites as the document changes.

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/unitFramePlayer.h"
#include "app/unitSpriteHistory.h"
#include "sprites/unitS16Handler.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;

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
  static constexpr int DefaultFramesPerSecond = 10;

  // A window of its own, over Owner and within Owner's screen, showing sprite Index of
  // whichever document Document holds, at the largest zoom that fits.
  TSpriteViewer(QWidget* Owner, const std::unique_ptr<TS16File>& Document, int Index);
  ~TSpriteViewer() override;

  // The viewed sprite, the run's first frame.
  int Index() const { return FRun.front(); }
  // Follows the run's sprites through Change, just made to the document: a frame moved or
  // taken out leaves the run. False when the viewed sprite itself is gone.
  bool FollowChange(const TDocumentChange& Change);

  // The run's sprites, by where they now are in the document.
  const std::vector<int>& Run() const { return FRun; }
  // The run becomes the viewed sprite and the Count after it, as far as the document goes.
  void SetFollowing(int Count);
  // The sprite of the frame shown.
  int ShownIndex() const { return FRun[FPlayer.Frame()]; }
  void SetFramesPerSecond(int Rate);
  void SetMode(TPlayMode Mode);
  void SetAlignment(TFrameAlignment Alignment);
  void SetOnionSkin(bool On);
  bool Playing() const;
  void SetPlaying(bool On);
  // The next frame in playing order: what the timer shows at each tick.
  void AdvanceFrame();
  // Pauses and goes Steps frames forwards or back.
  void StepFrame(int Steps);

  double Zoom() const { return FZoom; }
  // Clamped between the fitting fraction (or 1) and MaxZoom.
  void SetZoom(double Zoom);
  bool Checkerboard() const;
  void SetCheckerboard(bool On);
  // What the read-out says of pixel X, Y of the frame shown; empty outside it.
  QString PixelReadOut(int X, int Y) const;
  QString ReadOut() const;
  QWidget& Canvas() const;

 protected:
  void keyPressEvent(QKeyEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;

 private:
  class TCanvas;
  QWidget* MakePlaybackControls();
  // Sprite Index, or none while the document is changing beneath the run.
  const TS16Sprite* SpriteAt(int Index) const;
  // The run changed, or its sprites: sizes, frame count and the pictures again.
  void RunChanged();
  // The pictures, title and position of the frame the player is on.
  void ShowFrame();
  // Where the frame shown stands in the box, in the box's pixels.
  QPoint ShownOffset() const;
  // The largest zoom at which the whole box fits in the room the screen leaves.
  double FittingZoom() const;
  // The window's size beyond the canvas: margins, the controls, the read-out, frames.
  QSize ChromeSize() const;
  // Sizes the window to its sprite and places it over Owner, all within the screen.
  void PlaceOnScreen(const QWidget& Owner);
  void MouseAt(QPoint Point);

  const std::unique_ptr<TS16File>& FDocument;
  std::vector<int> FRun;
  TFramePlayer FPlayer;
  TFrameAlignment FAlignment = TFrameAlignment::TopLeft;
  QSize FBox;     // of the largest frame
  QImage FShown;  // black pixels clear
  QImage FOnion;  // the previous frame, or none
  double FZoom = 1;
  QSize FRoom{1, 1};  // for the canvas
  TCanvas* FCanvas = nullptr;
  QScrollArea* FScroller = nullptr;
  QCheckBox* FCheckerboard = nullptr;
  QWidget* FControls = nullptr;
  QSpinBox* FFollowing = nullptr;
  QSpinBox* FRate = nullptr;
  QComboBox* FModeChoice = nullptr;
  QComboBox* FAlignmentChoice = nullptr;
  QCheckBox* FOnionSkin = nullptr;
  QPushButton* FPlay = nullptr;
  QLabel* FPosition = nullptr;
  QTimer* FTimer = nullptr;
  QLabel* FReadOut = nullptr;
};
