#include "sprites/unitBitmapRoutes.h"

#include "sprites/unitPixelConversions.h"
#include "sprites/unitT1Palette.h"

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
  const auto Source = SpriteToBitmap(Sprite);
  auto Target =
      std::make_unique<TBitmap>(FilterIndex == ExportFilter8Bit    ? TPixelFormat::pf8bit
                                : FilterIndex == ExportFilter16Bit ? TPixelFormat::pf16bit
                                                                   : TPixelFormat::pf24bit);
  if (FilterIndex == ExportFilter8Bit) Target->SetPalette(CreateT1Palette());
  ConvertBitmap(*Source, *Target);
  return Target;
}
