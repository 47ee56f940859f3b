#include "sprites/unitPixelConversions.h"

namespace {

// Column by column, as every caller's visiting order is defined: Target black exactly where
// Source is black, Substitute where a visible pixel came out black.
template <class TSourceColour, class TTargetColour, class TWriteTarget>
void MatchBlackPass(int Width, int Height, TSourceColour SourceColour, TTargetColour TargetColour,
                    TWriteTarget WriteTarget, TColour Substitute) {
  for (int X = 0; X < Width; ++X)
    for (int Y = 0; Y < Height; ++Y) {
      const TColour Colour = SourceColour(X, Y);
      if (Colour == 0) WriteTarget(X, Y, 0);
      if (TargetColour(X, Y) == 0 && Colour != 0) WriteTarget(X, Y, Substitute);
    }
}

void MatchBlackPass(const TBitmap& Source, TBitmap& Target, TColour Substitute) {
  MatchBlackPass(
      Source.Width(), Source.Height(), [&](int X, int Y) { return Source.GetPixel(X, Y); },
      [&](int X, int Y) { return Target.GetPixel(X, Y); },
      [&](int X, int Y, TColour C) { Target.SetPixel(X, Y, C); }, Substitute);
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
  MatchBlackPass(Source, Target, FirstSubstitute);
  MatchBlackPass(Source, Target, SecondSubstitute);
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
  MatchBlackPass(
      Sprite.Width(), Sprite.Height(), [&](int X, int Y) { return Sprite.ReadPixel(X, Y); },
      [&](int X, int Y) { return Bitmap.GetPixel(X, Y); },
      [&](int X, int Y, TColour C) { Bitmap.SetPixel(X, Y, C); }, FirstSubstitute);
}

void MatchBlackIntoSprite(TS16Sprite& Sprite, const TBitmap& Bitmap) {
  MatchBlackPass(
      Bitmap.Width(), Bitmap.Height(), [&](int X, int Y) { return Bitmap.GetPixel(X, Y); },
      [&](int X, int Y) { return Sprite.ReadPixel(X, Y); },
      [&](int X, int Y, TColour C) { Sprite.WritePixel(X, Y, C); }, FirstSubstitute);
}
