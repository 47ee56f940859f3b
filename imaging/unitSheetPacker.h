#pragma once
// Places frames of W x H pixels on one sheet picture, as sprite sheets for game engines hold
// them. The same frames and options always give the same places.
//
// Rows: the frames go left to right in their order; a frame that would pass the row width
// starts a new row below the highest frame of the row before.
// Max-rects: the frames are taken tallest first (frames of one height in their order), each
// placed at the top-left of the free rectangle it fits best: the one that leaves the least
// over on its shorter side, then on its longer side, then the highest, then the leftmost.
// Both keep the row width near the side of a square of the frames' area: the larger of the
// widest frame and the square root of their area, padding counted, rounded up.
// Padding: that many pixels between neighbouring frames, none at the sheet's outer edge.
// Power of two: the sheet's sides are rounded up to powers of two.
// A frame with no pixels takes no room: it is placed at 0,0.

#include <cstdint>
#include <vector>

enum class TSheetPacking { Rows, MaxRects };

struct TPackOptions {
  TSheetPacking Packing = TSheetPacking::Rows;
  int Padding = 0;  // 0 to MaxSheetPadding
  bool PowerOfTwo = false;
};

constexpr int MaxSheetPadding = 16;

struct TFrameSize {
  int Width = 0;
  int Height = 0;
};

struct TFramePlace {
  std::int64_t X = 0;
  std::int64_t Y = 0;
};

struct TPackedSheet {
  std::int64_t Width = 1;  // at least 1 x 1, also for frames without pixels
  std::int64_t Height = 1;
  std::vector<TFramePlace> Places;  // one per frame, in the frames' order
};

TPackedSheet PackSheet(const std::vector<TFrameSize>& Frames, const TPackOptions& Options);
