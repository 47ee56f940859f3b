#include "app/unitFramePlayer.h"

#include <algorithm>

QPoint FrameOffset(TFrameAlignment Alignment, QSize Frame, QSize Box) {
  const QSize Room = Box - Frame;
  switch (Alignment) {
    case TFrameAlignment::TopLeft:
      return {0, 0};
    case TFrameAlignment::Centre:
      return {Room.width() / 2, Room.height() / 2};
    case TFrameAlignment::BottomCentre:
      return {Room.width() / 2, Room.height()};
  }
  return {0, 0};
}

void TFramePlayer::SetFrameCount(int Count) {
  const int Shown = Frame();
  FCount = std::max(Count, 1);
  ShowFrame(std::min(Shown, FCount - 1));
}

void TFramePlayer::SetMode(TPlayMode Mode) {
  const int Shown = Frame();
  FMode = Mode;
  ShowFrame(Shown);
}

void TFramePlayer::Step(int Steps) {
  const int Length = CycleLength();
  FPhase = ((FPhase + Steps) % Length + Length) % Length;
}

void TFramePlayer::ShowFrame(int Frame) {
  FPhase = std::clamp(Frame, 0, FCount - 1);
}

// Ping-pong turns at both ends: 2 x Count - 2 places, or one for a single frame.
int TFramePlayer::CycleLength() const {
  return FMode == TPlayMode::Loop || FCount == 1 ? FCount : 2 * FCount - 2;
}

int TFramePlayer::FrameAt(int Phase) const {
  Phase %= CycleLength();
  return Phase < FCount ? Phase : CycleLength() - Phase;
}
