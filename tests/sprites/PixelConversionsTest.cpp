#include <gtest/gtest.h>

#include <initializer_list>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include "sprites/unitPixelConversions.h"
#include "sprites/unitT1Palette.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"

namespace {

using enum TPixelFormat;
enum class TSourceKind { AllWords565, AllWords555, Dark24Bit, T1Indices };
const char* const SourceKindNames[] = {"AllWords565", "AllWords555", "Dark24Bit", "T1Indices"};

TBitmap SourceOf(TSourceKind Kind) {
  if (Kind == TSourceKind::AllWords565) return AllWordsBitmap(pf16bit);
  if (Kind == TSourceKind::AllWords555) return AllWordsBitmap(pf15bit);  // half with bit 15
  if (Kind == TSourceKind::Dark24Bit) {
    TBitmap Bitmap(pf24bit, 64, 64);
    for (int C = 0; C < 4096; ++C)
      Bitmap.SetPixel(C % 64, C / 64, MakeColour(C & 15, (C >> 4) & 15, C >> 8));
    return Bitmap;
  }
  TBitmap Bitmap = MakeBitmap(pf8bit, 16, 16);
  std::vector<std::uint8_t> Indices(256);
  std::iota(Indices.begin(), Indices.end(), 0);
  Bitmap.WriteRawBits(Indices.data());
  return Bitmap;
}

class ConvertBitmapBlack : public testing::TestWithParam<std::tuple<TSourceKind, TPixelFormat>> {};

TEST_P(ConvertBitmapBlack, TargetIsBlackExactlyWhereSourceIs) {
  const auto [Kind, Format] = GetParam();
  const TBitmap Source = SourceOf(Kind);
  TBitmap Target = MakeBitmap(Format, 3, 3);
  ConvertBitmap(Source, Target);
  ASSERT_EQ(std::pair(Target.Width(), Target.Height()), std::pair(Source.Width(), Source.Height()));
  for (int Y = 0; Y < Source.Height(); ++Y)
    for (int X = 0; X < Source.Width(); ++X) {
      // In 8 bits black is index 0, the fixed palette's only black entry.
      const bool Black = Format == pf8bit ? Target.ScanLine(Y)[X] == 0 : Target.GetPixel(X, Y) == 0;
      ASSERT_EQ(Black, Source.GetPixel(X, Y) == 0) << std::hex << Source.GetPixel(X, Y);
    }
}

INSTANTIATE_TEST_SUITE_P(
    SourcesAndTargets, ConvertBitmapBlack,
    testing::Combine(testing::Values(TSourceKind::AllWords565, TSourceKind::AllWords555,
                                     TSourceKind::Dark24Bit, TSourceKind::T1Indices),
                     AllFormats),
    [](const auto& Info) {
      return SourceKindNames[int(std::get<0>(Info.param))] + std::string("_To_") +
             CaseName(std::get<1>(Info.param));
    });

class MatchBlackSubstitute
    : public testing::TestWithParam<std::pair<TPixelFormat, std::vector<std::uint8_t>>> {};

TEST_P(MatchBlackSubstitute, RepairsBothWays) {
  const auto& [Format, Substitute] = GetParam();  // the raw bits of 0x202020
  TBitmap Source(pf24bit, 2, 1), Target = MakeBitmap(Format, 2, 1);
  Source.SetPixel(0, 0, 0x030303);  // cut to the top bits this would be black
  Target.SetPixel(1, 0, 0xFFFFFF);  // where the source is black
  MatchBlack(Source, Target);
  std::vector<std::uint8_t> Expected = Substitute;
  Expected.resize(2 * Substitute.size(), 0);
  EXPECT_EQ(RawBits(Target), Expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, MatchBlackSubstitute,
                         testing::Values(std::pair{pf16bit, std::vector<std::uint8_t>{0x04, 0x21}},
                                         std::pair{pf15bit, std::vector<std::uint8_t>{0x84, 0x10}},
                                         std::pair{pf24bit, std::vector<std::uint8_t>{32, 32, 32}},
                                         std::pair{pf8bit, std::vector<std::uint8_t>{16}}),
                         [](const auto& Info) { return CaseName(Info.param.first); });

TEST(MatchBlack, SecondSubstituteWhenTheFirstLandsOnBlack) {
  TPaletteEntries Entries;
  Entries.fill({255, 255, 255, 0});
  Entries[0] = {0, 0, 0, 0};
  Entries[7] = {255, 255, 32, 0};
  TBitmap Source(pf24bit, 1, 1), Target(pf8bit, 1, 1);
  Target.SetPalette(std::make_unique<TPalette>(Entries));
  Source.SetPixel(0, 0, 0x010101);
  MatchBlack(Source, Target);
  EXPECT_EQ(RawBits(Target), std::vector<std::uint8_t>{7});
}

TEST(SpriteBitmaps, Bitmap15ArrivesAs565WithGreenBitZeroClear) {
  TS16Sprite Sprite;
  Bitmap15ToSprite(AllWordsBitmap(pf15bit), Sprite);
  ASSERT_EQ(std::tuple(Sprite.Is555(), Sprite.Width(), Sprite.Height()),
            std::tuple(false, 256, 256));
  for (int W = 0; W < 65536; ++W) {
    const int Red = (W >> 10) & 31, Green = (W >> 5) & 31, Blue = W & 31;
    ASSERT_EQ(Sprite.PixelData()[W], (Red << 11) | (Green << 6) | Blue) << std::hex << W;
  }
  EXPECT_EQ(Sprite.PixelData()[0x7FFF], 0xFFDF);
}

TEST(MatchBlackFromSprite, BlackFollowsTheSprite) {
  const auto Sprite = MakeSprite(3, 1, {0, 0x0001, 0x0821});
  TBitmap Bitmap(pf24bit, 3, 1);
  Bitmap.SetPixel(0, 0, 0xFFFFFF);
  Bitmap.SetPixel(2, 0, 0x111111);
  MatchBlackFromSprite(*Sprite, Bitmap);
  EXPECT_EQ(RawBits(Bitmap), (std::vector<std::uint8_t>{0, 0, 0, 32, 32, 32, 17, 17, 17}));
}

TEST(MatchBlackIntoSprite, BlackFollowsTheBitmap) {
  auto Sprite = MakeSprite(3, 1, {0xFFFF, 0, 0x1234});
  TBitmap Bitmap(pf24bit, 3, 1);
  Bitmap.SetPixel(1, 0, 0x000001);
  Bitmap.SetPixel(2, 0, 0x010000);
  MatchBlackIntoSprite(*Sprite, Bitmap);
  EXPECT_EQ(SpriteWords(*Sprite), (TWords{0, 0x2104, 0x1234}));
  TS16Sprite Small;
  EXPECT_THROW(MatchBlackIntoSprite(Small, Bitmap), ESpriteError);
}

// Words pass unchanged both ways, and matching black then finds nothing to repair.
TEST(SpriteBitmaps, WordsRoundTripAndMatchBlackKeepsThem) {
  const TBitmap Bitmap = AllWordsBitmap(pf16bit);
  auto Sprite = MakeSprite(1, 1, {}, true);
  BitmapToSprite(Bitmap, *Sprite);
  EXPECT_EQ(
      std::tuple(Sprite->Is555(), Sprite->Width(), Sprite->Height(), Sprite->PixelData()[0x1234]),
      std::tuple(false, 256, 256, 0x1234));
  MatchBlackIntoSprite(*Sprite, Bitmap);
  const auto Back = SpriteToBitmap(*Sprite);
  EXPECT_EQ(std::tuple(Back->PixelFormat(), Back->Width(), Back->Height()),
            std::tuple(pf16bit, 256, 256));
  EXPECT_EQ(RawBits(*Back), RawBits(Bitmap));
}

// The passes as the pixel conversions define them: pixel by pixel through the colour reads and
// writes, column by column.
template <class TReadSource, class TReadTarget, class TWrite>
void PixelByPixel(int Width, int Height, TReadSource Source, TReadTarget Target, TWrite Write,
                  std::initializer_list<TColour> Substitutes) {
  for (const TColour Substitute : Substitutes)
    for (int X = 0; X < Width; ++X)
      for (int Y = 0; Y < Height; ++Y) {
        const TColour Colour = Source(X, Y);
        if (Colour == 0) Write(X, Y, 0);
        if (Target(X, Y) == 0 && Colour != 0) Write(X, Y, Substitute);
      }
}

// Random pixels, a third of them black, and some raw zeros, which are not black in every
// palette.
TBitmap SpeckledBitmap(TPixelFormat Format, int Width, int Height, std::mt19937& Random) {
  TBitmap Bitmap = RandomBitmap(Format, Width, Height, Random);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      if (Random() % 3 == 0) Bitmap.SetPixel(X, Y, 0);
  for (int I = 0; I < Width; ++I)
    std::fill_n(
        Bitmap.ScanLine(int(Random() % Height)) + (Random() % Width) * BytesPerPixel(Format),
        BytesPerPixel(Format), 0);
  return Bitmap;
}

class MatchBlackByRows : public testing::TestWithParam<std::tuple<TPixelFormat, TPixelFormat>> {};

TEST_P(MatchBlackByRows, GivesWhatThePixelByPixelPassesGive) {
  const auto [SourceFormat, TargetFormat] = GetParam();
  std::mt19937 Random(int(SourceFormat) * 4 + int(TargetFormat));
  const TBitmap Source = SpeckledBitmap(SourceFormat, 37, 23, Random);
  for (const auto& [Width, Height] : {std::pair{37, 23}, std::pair{40, 19}, std::pair{30, 30}}) {
    TBitmap Target = SpeckledBitmap(TargetFormat, Width, Height, Random), Expected = Target;
    PixelByPixel(
        Source.Width(), Source.Height(), [&](int X, int Y) { return Source.GetPixel(X, Y); },
        [&](int X, int Y) { return Expected.GetPixel(X, Y); },
        [&](int X, int Y, TColour C) { Expected.SetPixel(X, Y, C); },
        {FirstSubstitute, SecondSubstitute});
    MatchBlack(Source, Target);
    ASSERT_EQ(RawBits(Target), RawBits(Expected)) << Width << " x " << Height;
  }
  // Into and from sprites of either layout, with one substitute.
  for (const bool Is555 : {false, true}) {
    TWords Words(37 * 23);
    for (auto& Word : Words) Word = Random() % 3 ? std::uint16_t(Random() % 4) << 14 : 0;
    auto Sprite = MakeSprite(37, 23, Words, Is555), Expected = MakeSprite(37, 23, Words, Is555);
    const auto ReadExpected = [&](int X, int Y) { return Expected->ReadPixel(X, Y); };
    PixelByPixel(
        37, 23, [&](int X, int Y) { return Source.GetPixel(X, Y); }, ReadExpected,
        [&](int X, int Y, TColour C) { Expected->WritePixel(X, Y, C); }, {FirstSubstitute});
    MatchBlackIntoSprite(*Sprite, Source);
    ASSERT_EQ(SpriteWords(*Sprite), SpriteWords(*Expected));

    TBitmap Target = SpeckledBitmap(TargetFormat, 37, 23, Random), ExpectedBitmap = Target;
    PixelByPixel(
        37, 23, ReadExpected, [&](int X, int Y) { return ExpectedBitmap.GetPixel(X, Y); },
        [&](int X, int Y, TColour C) { ExpectedBitmap.SetPixel(X, Y, C); }, {FirstSubstitute});
    MatchBlackFromSprite(*Expected, Target);
    ASSERT_EQ(RawBits(Target), RawBits(ExpectedBitmap));
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, MatchBlackByRows, testing::Combine(AllFormats, AllFormats),
                         FormatPairName);

}  // namespace
