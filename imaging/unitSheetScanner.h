#pragma once
// The scanning half of both cutters: the working image of a composite (many sprites on a
// background colour), the walks that measure a sprite's box, the manual cutter's cross-check
// and marker steps, and the cut of one box out of the image.

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/unitBitmap.h"
#include "sprites/unitS16Handler.h"

// Inclusive, in working-image coordinates.
struct TCutBox {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TCutBox&, const TCutBox&) = default;
};

// The manual cutter's marker and its target: Width and Height are right - left and
// bottom - top, so a one-pixel box is 0 x 0.
struct TMarker {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TMarker&, const TMarker&) = default;
};

TMarker MarkerOf(const TCutBox& Box);
TCutBox BoxOf(const TMarker& Marker);
// Inclusive of the right and bottom edges, as the release test has it.
bool MarkerContains(const TMarker& Marker, int X, int Y);
// Whether the marker still has to grow towards Target, and one step of that growth: left and
// top move out by one, width and height grow by two while short of the target's far edges.
bool MarkerGrowing(const TMarker& Marker, const TMarker& Target);
TMarker MarkerGrowthStep(TMarker Marker, const TMarker& Target);

class TSheetScanner {
 public:
  // The working image starts as a 16-bit copy of the composite's 5-6-5 words.
  explicit TSheetScanner(const TS16Sprite& Composite);

  const TBitmap& Image() const { return *FImage; }
  int Width() const { return FImage->Width(); }
  int Height() const { return FImage->Height(); }
  bool Contains(int X, int Y) const { return X >= 0 && Y >= 0 && X < Width() && Y < Height(); }

  // B := the word at (0, 0); an image without pixels has none to read. Comes before the
  // searches for sprite rows.
  void ReadBackground();
  std::uint16_t Background() const { return FBackground; }
  // Outside the image there is only background.
  bool IsBackground(int X, int Y) const { return !Contains(X, Y) || Word(X, Y) == FBackground; }

  // From a pixel inside the image, the last one reached moving that way while the next pixel
  // is not background; the edges stop every walk.
  int WalkUp(int X, int Y) const;
  int WalkDown(int X, int Y) const;
  int WalkLeft(int X, int Y) const;
  int WalkRight(int X, int Y) const;

  // The topmost non-background row of column X (inside the image), or Height() when it has
  // none.
  int FirstSpriteRow(int X);
  // The box of the sprite whose top row is Top, found at (X, Top): left along that row, then
  // down the box's left column and right along the top row.
  TCutBox BoxFromTopRow(int X, int Top) const;
  // The manual cutter's first scan from a pressed sprite pixel.
  TCutBox ScanFrom(int X, int Y) const;
  // The vertical scanner: the same box measured from the bottom of column X, which must agree
  // with the first scan.
  bool VerticalScannerAgrees(int X, int Y, const TCutBox& First) const;

  // A new 5-6-5 sprite holding the box word for word (so black exactly where the image is
  // black); the box is then erased with B. Raises std::out_of_range for a box not wholly
  // inside the image.
  std::unique_ptr<TS16Sprite> CutBox(const TCutBox& Box);

 private:
  std::uint16_t Word(int X, int Y) const {
    std::uint16_t Value;
    std::memcpy(&Value, FImage->ScanLine(Y) + 2 * std::size_t(X), 2);
    return Value;
  }
  // How many of Count words from Words are not background.
  std::size_t SpritePixels(const std::uint8_t* Words, std::size_t Count) const;

  std::unique_ptr<TBitmap> FImage;
  std::uint16_t FBackground = 0;
  // Where each column's search for its top sprite row starts. Cuts only ever turn pixels into
  // background, so a column's topmost sprite row never moves up, and each pixel is passed over
  // once however many passes run.
  std::vector<int> FColumnTop;
  // Once none is left, as in every expansion's last pass, no column needs a search.
  std::size_t FSpritePixelsLeft = 0;
};
