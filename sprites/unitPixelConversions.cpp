#include "sprites/unitPixelConversions.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

// Target black exactly where Source is black; where a visible pixel came out black, the first
// substitute that does not itself come out black. Each pixel depends on nothing but itself, so
// whole rows are matched at a time, and one row's passes are done before the next row's.
template <class TFindSource, class TFindTarget, class TPaintTarget>
void MatchBlackPasses(int Width, int Height, TFindSource FindSourceBlack,
                      TFindTarget FindTargetBlack, TPaintTarget PaintTarget,
                      std::initializer_list<TColour> Substitutes) {
  if (Width <= 0) return;
  std::vector<std::uint8_t> SourceBlack(std::size_t(Width), 0), Lost(std::size_t(Width), 0);
  for (int Y = 0; Y < Height; ++Y) {
    FindSourceBlack(Y, SourceBlack.data());
    PaintTarget(Y, SourceBlack.data(), ColourBlack);
    for (const TColour Substitute : Substitutes) {
      FindTargetBlack(Y, Lost.data());
      for (int X = 0; X < Width; ++X) Lost[X] &= SourceBlack[X] ^ 1;
      if (!std::memchr(Lost.data(), 1, Lost.size())) break;
      PaintTarget(Y, Lost.data(), Substitute);
    }
  }
}

void MatchBlackPasses(const TBitmap& Source, TBitmap& Target,
                      std::initializer_list<TColour> Substitutes) {
  // Outside Target nothing is read as anything but black, and nothing is written.
  const int Width = std::min(Source.Width(), Target.Width());
  MatchBlackPasses(
      Width, std::min(Source.Height(), Target.Height()),
      [&](int Y, std::uint8_t* Black) { Source.FindBlack(Y, Width, Black); },
      [&](int Y, std::uint8_t* Black) { Target.FindBlack(Y, Width, Black); },
      [&](int Y, const std::uint8_t* Where, TColour C) { Target.PaintWhere(Y, Width, Where, C); },
      Substitutes);
}

// The first Count words of a sprite's row Y, black as ReadPixel reads them and painted as
// WritePixel writes.
void FindBlackInSprite(const TS16Sprite& Sprite, int Y, int Count, std::uint8_t* IsBlack) {
  const std::uint16_t* Row = Sprite.PixelData() + std::size_t(Y) * Sprite.Width();
  const std::uint16_t Colour = Sprite.Is555() ? 0x7FFF : 0xFFFF;
  for (int X = 0; X < Count; ++X) IsBlack[X] = (Row[X] & Colour) == 0;
}

void PaintSprite(TS16Sprite& Sprite, int Y, int Count, const std::uint8_t* Where, TColour Colour) {
  std::uint16_t* Row = Sprite.PixelData() + std::size_t(Y) * Sprite.Width();
  const std::uint16_t Word = Sprite.Is555() ? ColourToWord555(Colour) : ColourToWord565(Colour);
  for (int X = 0; X < Count; ++X) Row[X] = Where[X] ? Word : Row[X];
}

void SizeSpriteTo(const TBitmap& Bitmap, TPixelFormat Expected, TS16Sprite& Sprite) {
  // The raw copy that follows is only the sprite's size for 16-bit words.
  if (Bitmap.PixelFormat() != Expected)
    throw EBitmapError("The bitmap does not have the pixel format a sprite is copied from");
  if (Bitmap.Width() > 65535 || Bitmap.Height() > 65535)
    throw ESpriteError("A sprite is at most 65535 pixels wide and high");
  Sprite.SetHeight(std::uint16_t(Bitmap.Height()));
  Sprite.SetWidth(std::uint16_t(Bitmap.Width()));
}

}  // namespace

std::unique_ptr<TBitmap> SpriteToBitmap(const TS16Sprite& Sprite) {
  auto Bitmap = std::make_unique<TBitmap>(TPixelFormat::pf16bit, Sprite.Width(), Sprite.Height());
  Bitmap->WriteRawBits(Sprite.PixelData());
  return Bitmap;
}

void ConvertBitmap(const TBitmap& Source, TBitmap& Target) {
  Target.SetSize(Source.Width(), Source.Height());
  Target.Draw(Source);
  MatchBlack(Source, Target);
}

void MatchBlack(const TBitmap& Source, TBitmap& Target) {
  MatchBlackPasses(Source, Target, {FirstSubstitute, SecondSubstitute});
}

void BitmapToSprite(const TBitmap& Bitmap, TS16Sprite& Sprite) {
  SizeSpriteTo(Bitmap, TPixelFormat::pf16bit, Sprite);
  Sprite.SetLayoutFlag(false);
  Bitmap.ReadRawBits(Sprite.PixelData());
}

void Bitmap15ToSprite(const TBitmap& Bitmap, TS16Sprite& Sprite) {
  SizeSpriteTo(Bitmap, TPixelFormat::pf15bit, Sprite);
  Sprite.SetFormat(true);
  Bitmap.ReadRawBits(Sprite.PixelData());
  Sprite.SetFormat(false);
}

void MatchBlackFromSprite(const TS16Sprite& Sprite, TBitmap& Bitmap) {
  const int Width = std::min<int>(Sprite.Width(), Bitmap.Width());
  MatchBlackPasses(
      Width, std::min<int>(Sprite.Height(), Bitmap.Height()),
      [&](int Y, std::uint8_t* Black) { FindBlackInSprite(Sprite, Y, Width, Black); },
      [&](int Y, std::uint8_t* Black) { Bitmap.FindBlack(Y, Width, Black); },
      [&](int Y, const std::uint8_t* Where, TColour C) { Bitmap.PaintWhere(Y, Width, Where, C); },
      {FirstSubstitute});
}

void MatchBlackIntoSprite(TS16Sprite& Sprite, const TBitmap& Bitmap) {
  if (Bitmap.Width() > Sprite.Width() || Bitmap.Height() > Sprite.Height())
    throw ESpriteError("The sprite is smaller than the bitmap it is matched with");
  const int Width = Bitmap.Width();
  MatchBlackPasses(
      Width, Bitmap.Height(),
      [&](int Y, std::uint8_t* Black) { Bitmap.FindBlack(Y, Width, Black); },
      [&](int Y, std::uint8_t* Black) { FindBlackInSprite(Sprite, Y, Width, Black); },
      [&](int Y, const std::uint8_t* Where, TColour C) { PaintSprite(Sprite, Y, Width, Where, C); },
      {FirstSubstitute});
}
