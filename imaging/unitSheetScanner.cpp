#include "imaging/unitSheetScanner.h"

#include <stdexcept>

#include "sprites/unitPixelConversions.h"

TMarker MarkerOf(const TCutBox& Box) {
  return {Box.Left, Box.Top, Box.Right - Box.Left, Box.Bottom - Box.Top};
}

TCutBox BoxOf(const TMarker& Marker) {
  return {Marker.Left, Marker.Top, Marker.Left + Marker.Width, Marker.Top + Marker.Height};
}

bool MarkerContains(const TMarker& Marker, int X, int Y) {
  return Marker.Left <= X && X <= Marker.Left + Marker.Width && Marker.Top <= Y &&
         Y <= Marker.Top + Marker.Height;
}

bool MarkerGrowing(const TMarker& Marker, const TMarker& Target) {
  return Marker.Left > Target.Left || Marker.Top > Target.Top || Marker.Height < Target.Height ||
         Marker.Width < Target.Width;
}

TMarker MarkerGrowthStep(TMarker Marker, const TMarker& Target) {
  if (Marker.Left > Target.Left) --Marker.Left;
  if (Marker.Top > Target.Top) --Marker.Top;
  if (Marker.Left + Marker.Width < Target.Left + Target.Width) Marker.Width += 2;
  if (Marker.Top + Marker.Height < Target.Top + Target.Height) Marker.Height += 2;
  return Marker;
}

TSheetScanner::TSheetScanner(const TS16Sprite& Composite)
    : FImage(SpriteToBitmap(Composite)), FColumnTop(std::size_t(Composite.Width()), 0) {}

void TSheetScanner::ReadBackground() {
  if (!Contains(0, 0)) return;
  FBackground = Word(0, 0);
  FSpritePixelsLeft =
      SpritePixels(FImage->ScanLine(0), std::size_t(Width()) * std::size_t(Height()));
}

std::size_t TSheetScanner::SpritePixels(const std::uint8_t* Words, std::size_t Count) const {
  std::size_t Found = 0;
  for (std::size_t I = 0; I < Count; ++I) {
    std::uint16_t Value;
    std::memcpy(&Value, Words + 2 * I, 2);
    Found += Value != FBackground;
  }
  return Found;
}

int TSheetScanner::WalkUp(int X, int Y) const {
  while (Y > 0 && !IsBackground(X, Y - 1)) --Y;
  return Y;
}

int TSheetScanner::WalkDown(int X, int Y) const {
  while (Y < Height() - 1 && !IsBackground(X, Y + 1)) ++Y;
  return Y;
}

int TSheetScanner::WalkLeft(int X, int Y) const {
  while (X > 0 && !IsBackground(X - 1, Y)) --X;
  return X;
}

int TSheetScanner::WalkRight(int X, int Y) const {
  while (X < Width() - 1 && !IsBackground(X + 1, Y)) ++X;
  return X;
}

int TSheetScanner::FirstSpriteRow(int X) {
  if (FSpritePixelsLeft == 0) return Height();
  int& Y = FColumnTop[std::size_t(X)];
  while (Y < Height() && Word(X, Y) == FBackground) ++Y;
  return Y;
}

TCutBox TSheetScanner::BoxFromTopRow(int X, int Top) const {
  const int Left = WalkLeft(X, Top);
  return {Left, Top, WalkRight(Left, Top), WalkDown(Left, Top)};
}

TCutBox TSheetScanner::ScanFrom(int X, int Y) const {
  return BoxFromTopRow(X, WalkUp(X, Y));
}

bool TSheetScanner::VerticalScannerAgrees(int X, int Y, const TCutBox& First) const {
  const int Bottom2 = WalkDown(X, Y);
  const int Left2 = WalkLeft(X, Bottom2);
  const int Right2 = WalkRight(Left2, Bottom2);
  const int Top2 = WalkUp(First.Left, Bottom2);
  return Top2 == First.Top && Bottom2 - Top2 == First.Bottom - First.Top &&
         Right2 - Left2 == First.Right - First.Left && Left2 == First.Left;
}

std::unique_ptr<TS16Sprite> TSheetScanner::CutBox(const TCutBox& Box) {
  if (Box.Left < 0 || Box.Top < 0 || Box.Right < Box.Left || Box.Bottom < Box.Top ||
      Box.Right >= Width() || Box.Bottom >= Height())
    throw std::out_of_range("The box to cut does not lie inside the image");
  const int BoxWidth = Box.Right - Box.Left + 1;
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetWidth(std::uint16_t(BoxWidth));
  Sprite->SetHeight(std::uint16_t(Box.Bottom - Box.Top + 1));
  const std::vector<std::uint16_t> Erased(std::size_t(BoxWidth), FBackground);
  const std::size_t RowBytes = 2 * std::size_t(BoxWidth);
  for (int Y = Box.Top; Y <= Box.Bottom; ++Y) {
    std::uint8_t* Row = FImage->ScanLine(Y) + 2 * std::size_t(Box.Left);
    std::memcpy(Sprite->PixelData() + std::size_t(Y - Box.Top) * std::size_t(BoxWidth), Row,
                RowBytes);
    FSpritePixelsLeft -= SpritePixels(Row, std::size_t(BoxWidth));
    std::memcpy(Row, Erased.data(), RowBytes);
  }
  return Sprite;
}
