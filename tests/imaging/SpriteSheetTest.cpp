#include <gtest/gtest.h>

#include <random>

#include "imaging/unitSpriteSheet.h"
#include "tests/support/SpriteFactory.h"

namespace {

struct TSheetCase {
  const char* Name;
  TSheetOptions Options;
};

class SpriteSheetRoundTrip : public testing::TestWithParam<TSheetCase> {};

// Random words with black borders of random widths, some sprites all black, some empty, two
// without pixels but longer on one side than the sheet is.
void FillBorderedDocument(TS16File& File) {
  std::mt19937 Random(5);
  FillRandomDocument(File, Random, 40);
  for (int I = 0; I < File.Count(); I += 3) {
    TS16Sprite& Sprite = File.GetSprite(I);
    for (int X = 0; X < Sprite.Width(); ++X) Sprite.PixelData()[X] = 0;
  }
  File.Add(MakeSprite(5, 4));
  File.Add(MakeSprite(3, 3, {0, 0, 0, 0, 0x1234, 0, 0, 0, 0}));
  File.Add(MakeSprite(0, 300));
  File.Add(MakeSprite(300, 0));
}

}  // namespace

// Cutting the sheet's frames gives every sprite back, word for word and in order.
TEST_P(SpriteSheetRoundTrip, CutsBackWhatItLaysOut) {
  TS16File File;
  FillBorderedDocument(File);
  const TSpriteSheet Sheet = MakeSpriteSheet(File, 2, File.Count() - 1, GetParam().Options);
  ASSERT_EQ(Sheet.Atlas.Frames.size(), std::size_t(File.Count() - 2));
  EXPECT_EQ(Sheet.Atlas.Frames.front().Name, "0002");
  const auto Sprites = CutSpriteSheet(*Sheet.Picture, Sheet.Atlas);
  for (std::size_t I = 0; I < Sprites.size(); ++I)
    EXPECT_TRUE(Sprites[I]->SamePixels(File.GetSprite(int(I) + 2))) << I;
}

INSTANTIATE_TEST_SUITE_P(
    , SpriteSheetRoundTrip,
    testing::Values(TSheetCase{"Rows", {}},
                    TSheetCase{"MaxRectsPadded", {{TSheetPacking::MaxRects, 3, false}}},
                    TSheetCase{"TrimmedPowerOfTwo", {{TSheetPacking::Rows, 1, true}, true}}),
    [](const testing::TestParamInfo<TSheetCase>& Info) { return std::string(Info.param.Name); });

// A trimmed frame holds the pixels that are not black and says where they were; a sprite all
// black keeps its top-left pixel.
TEST(SpriteSheet, TrimsBlackBorders) {
  TS16File File;
  File.Add(MakeSprite(4, 3, {0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 9}));
  File.Add(MakeSprite(5, 4));
  TSheetOptions Options;
  Options.Trim = true;
  const TSheetAtlas Atlas = MakeSpriteSheet(File, 0, 1, Options).Atlas;
  const TAtlasFrame& Part = Atlas.Frames[0];
  EXPECT_EQ(std::tie(Part.Width, Part.Height, Part.SourceX, Part.SourceY, Part.SourceWidth,
                     Part.SourceHeight),
            std::make_tuple(2, 2, 2, 1, 4, 3));
  const TAtlasFrame& Black = Atlas.Frames[1];
  EXPECT_EQ(std::tie(Black.Width, Black.Height, Black.SourceX, Black.SourceY, Black.Trimmed),
            std::make_tuple(1, 1, 0, 0, true));
}

TEST(SpriteSheet, RefusesFramesOffTheSheet) {
  const auto Sheet = MakeSprite(4, 4);
  TSheetAtlas Atlas;
  Atlas.Frames = {{"a", 3, 0, 2, 1, false, 0, 0, 2, 1}};
  EXPECT_EQ(ErrorText<ESpriteError>([&] { CutSpriteSheet(*Sheet, Atlas); }),
            "The atlas's frame \"a\" lies outside the 4 by 4 sheet");
}
