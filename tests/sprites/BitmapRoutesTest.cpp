#include <gtest/gtest.h>

#include <functional>
#include <string>

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

struct TRenderRoute {
  std::string Name;
  std::function<std::unique_ptr<TBitmap>(const TS16Sprite&)> Render;
  TPixelFormat Format;
};

class RenderRoutes : public testing::TestWithParam<TRenderRoute> {};

TEST_P(RenderRoutes, KeepBlackExactlyWhereTheSpriteIsBlack) {
  const auto Sprite = AllWordsSprite();
  const auto Bitmap = GetParam().Render(*Sprite);
  ASSERT_EQ(Bitmap->PixelFormat(), GetParam().Format);
  ASSERT_EQ(Bitmap->Width(), 256);
  for (int W = 0; W < 65536; ++W)
    ASSERT_EQ(Bitmap->GetPixel(W % 256, W / 256) == 0, W == 0) << "word " << W;
  // Eight bits mean the fixed palette's colours only.
  if (GetParam().Format == TPixelFormat::pf8bit) {
    EXPECT_EQ(Bitmap->Palette().Entries(), T1Palette);
  }
}

INSTANTIATE_TEST_SUITE_P(
    , RenderRoutes,
    testing::Values(
        TRenderRoute{"Export24", [](auto& S) { return MakeExportBitmap(S, ExportFilter24Bit); },
                     TPixelFormat::pf24bit},
        TRenderRoute{"Export16", [](auto& S) { return MakeExportBitmap(S, ExportFilter16Bit); },
                     TPixelFormat::pf16bit},
        TRenderRoute{"Export8", [](auto& S) { return MakeExportBitmap(S, ExportFilter8Bit); },
                     TPixelFormat::pf8bit},
        TRenderRoute{"Copy24", [](auto& S) { return MakeCopyBitmap(S, CopyFormat24Bit); },
                     TPixelFormat::pf24bit},
        TRenderRoute{"Copy16", [](auto& S) { return MakeCopyBitmap(S, CopyFormat16Bit); },
                     TPixelFormat::pf16bit},
        TRenderRoute{"Copy15", [](auto& S) { return MakeCopyBitmap(S, CopyFormat15Bit); },
                     TPixelFormat::pf15bit},
        TRenderRoute{"Copy8", [](auto& S) { return MakeCopyBitmap(S, CopyFormat8Bit); },
                     TPixelFormat::pf8bit}),
    [](const auto& Info) { return Info.param.Name; });

TEST(ExportRoute, SixteenBitsKeepTheSpritesWords) {
  const auto Sprite = AllWordsSprite();
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
