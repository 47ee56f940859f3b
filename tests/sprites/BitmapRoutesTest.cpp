#include <gtest/gtest.h>

#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitT1Palette.h"
#include "tests/support/SpriteFactory.h"

namespace {

// Every 5-6-5 word once.
std::unique_ptr<TS16Sprite> AllWordsSprite() {
  TWords Words(65536);
  for (std::size_t W = 0; W < Words.size(); ++W) Words[W] = std::uint16_t(W);
  return MakeSprite(256, 256, Words);
}

}  // namespace

TEST(ExportRoute, KeepsBlackExactlyWhereTheSpriteIsBlackAtEveryDepth) {
  const auto Sprite = AllWordsSprite();
  for (int Filter : {ExportFilter24Bit, ExportFilter16Bit, ExportFilter8Bit}) {
    const auto Bitmap = MakeExportBitmap(*Sprite, Filter);
    ASSERT_EQ(Bitmap->Width(), 256);
    for (int W = 0; W < 65536; ++W)
      ASSERT_EQ(Bitmap->GetPixel(W % 256, W / 256) == 0, W == 0) << Filter << " word " << W;
  }
  EXPECT_EQ(MakeExportBitmap(*Sprite, ExportFilter8Bit)->Palette().Entries(), T1Palette);
  const auto Words = MakeExportBitmap(*Sprite, ExportFilter16Bit);
  EXPECT_EQ(TWords(reinterpret_cast<const std::uint16_t*>(Words->ScanLine(0)),
                   reinterpret_cast<const std::uint16_t*>(Words->ScanLine(0)) + 65536),
            SpriteWords(*Sprite));
}

TEST(ImportRoute, SixteenBitWordsComeOverUnchanged) {
  const auto Sprite = AllWordsSprite();
  const auto Imported = SpriteFromImportedBitmap(*MakeExportBitmap(*Sprite, ExportFilter16Bit));
  EXPECT_FALSE(Imported->Is555());
  EXPECT_EQ(SpriteWords(*Imported), SpriteWords(*Sprite));
}

TEST(ImportRoute, OtherFormatsNeverTurnAVisiblePixelBlack) {
  for (TPixelFormat Format : {TPixelFormat::pf24bit, TPixelFormat::pf15bit, TPixelFormat::pf8bit}) {
    TBitmap Bitmap(Format, 16, 16);
    if (Format == TPixelFormat::pf8bit) Bitmap.SetPalette(CreateT1Palette());
    for (int I = 0; I < 256; ++I) {
      // Greys and dark colours around the 5-bit cut, and pure black at 0.
      const TColour Colour = Format == TPixelFormat::pf8bit
                                 ? T1Palette[std::size_t(I)].Red |
                                       (T1Palette[std::size_t(I)].Green << 8) |
                                       (T1Palette[std::size_t(I)].Blue << 16)
                                 : MakeColour(I % 4, I / 64, I % 8);
      if (Format == TPixelFormat::pf8bit)
        Bitmap.ScanLine(0)[I] = std::uint8_t(I);
      else
        Bitmap.SetPixel(I % 16, I / 16, Colour);
    }
    const auto Sprite = SpriteFromImportedBitmap(Bitmap);
    for (int I = 0; I < 256; ++I)
      ASSERT_EQ(Sprite->PixelData()[I] == 0, Bitmap.GetPixel(I % 16, I / 16) == 0)
          << int(Format) << " pixel " << I;
  }
}
