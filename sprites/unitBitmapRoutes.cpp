#include "sprites/unitBitmapRoutes.h"

#include <string>

#include "sprites/unitPixelConversions.h"
#include "sprites/unitT1Palette.h"

namespace {

// The sprite's words, colour-converted into a bitmap of Format; 8 bits use the fixed palette.
std::unique_ptr<TBitmap> RenderSprite(const TS16Sprite& Sprite, TPixelFormat Format) {
  const auto Source = SpriteToBitmap(Sprite);
  auto Target = std::make_unique<TBitmap>(Format);
  if (Format == TPixelFormat::pf8bit) Target->SetPalette(CreateT1Palette());
  ConvertBitmap(*Source, *Target);
  return Target;
}

TPixelFormat CopyPixelFormat(int CopyFormat) {
  switch (CopyFormat) {
    case CopyFormat8Bit:
      return TPixelFormat::pf8bit;
    case CopyFormat15Bit:
      return TPixelFormat::pf15bit;
    case CopyFormat16Bit:
      return TPixelFormat::pf16bit;
    default:
      return TPixelFormat::pf24bit;
  }
}

}  // namespace

void CheckImageSize(std::int64_t Width, std::int64_t Height, const char* What) {
  if (Width <= MaxImageSide && Height <= MaxImageSide && Width * Height <= MaxImagePixels) return;
  throw ESpriteError(std::string(What) + " is too large to become a sprite: " +
                     std::to_string(Width) + " by " + std::to_string(Height) +
                     " pixels (a sprite is at most 65535 pixels a side and 268435456 in all)");
}

std::unique_ptr<TS16Sprite> SpriteFromImportedBitmap(const TBitmap& FileBitmap) {
  // A 5-6-5 file's words come through the copy unchanged; other formats are converted.
  TBitmap Working(TPixelFormat::pf16bit, FileBitmap.Width(), FileBitmap.Height());
  Working.Draw(FileBitmap);
  MatchBlack(FileBitmap, Working);
  auto Sprite = std::make_unique<TS16Sprite>();
  BitmapToSprite(Working, *Sprite);
  MatchBlackIntoSprite(*Sprite, Working);
  return Sprite;
}

std::unique_ptr<TBitmap> MakeExportBitmap(const TS16Sprite& Sprite, int FilterIndex) {
  return RenderSprite(Sprite, FilterIndex == ExportFilter8Bit    ? TPixelFormat::pf8bit
                              : FilterIndex == ExportFilter16Bit ? TPixelFormat::pf16bit
                                                                 : TPixelFormat::pf24bit);
}

std::unique_ptr<TBitmap> MakeCopyBitmap(const TS16Sprite& Sprite, int CopyFormat) {
  // The bitmap rendered from holds the sprite's own words, so it is black exactly where the
  // sprite is; the rendered one is checked against the sprite once more.
  auto Target = RenderSprite(Sprite, CopyPixelFormat(CopyFormat));
  MatchBlackFromSprite(Sprite, *Target);
  return Target;
}

std::unique_ptr<TBitmap> MakePasteBitmap(const TBitmap& ClipboardBitmap) {
  auto Bitmap = std::make_unique<TBitmap>(TPixelFormat::pf15bit);
  ConvertBitmap(ClipboardBitmap, *Bitmap);
  return Bitmap;
}
