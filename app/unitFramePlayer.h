#pragma once
// How a run of frames plays: the order they come in, and where each stands in a box the size of
// the largest, so that frames of different sizes do not jump.

#include <QPoint>
#include <QSize>

enum class TPlayMode { Loop, PingPong };
enum class TFrameAlignment { TopLeft, Centre, BottomCentre };

// The top-left corner of a frame of size Frame within Box, rounded towards the top-left.
QPoint FrameOffset(TFrameAlignment Alignment, QSize Frame, QSize Box);

// The frame shown, as a place in the cycle of playing order: Loop goes 0, 1, 2, 0, ...;
// PingPong goes 0, 1, 2, 1, 0, 1, ... without showing either end twice.
class TFramePlayer {
 public:
  int FrameCount() const { return FCount; }
  // Keeps the frame shown when there still is one of its number, else shows the last.
  void SetFrameCount(int Count);
  TPlayMode Mode() const { return FMode; }
  // Keeps the frame shown, going forwards from it.
  void SetMode(TPlayMode Mode);
  int Frame() const { return FrameAt(FPhase); }
  // The frame shown just before this one in playing order; the frame itself in a run of one.
  int PreviousFrame() const { return FrameAt(FPhase + CycleLength() - 1); }
  // Steps forwards (positive) or back through playing order.
  void Step(int Steps);
  // Shows Frame, going forwards from it.
  void ShowFrame(int Frame);

 private:
  int CycleLength() const;
  int FrameAt(int Phase) const;

  TPlayMode FMode = TPlayMode::Loop;
  int FCount = 1;
  int FPhase = 0;
};
