#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "platform/unitBitmap.h"
#include "sprites/unitT1Palette.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"

namespace {

struct TPixelCase {
  TPixelFormat Format;
  TColour Written;
  std::vector<std::uint8_t> Raw;
  TColour Read;
};

class BitmapPixel : public testing::TestWithParam<TPixelCase> {};

TEST_P(BitmapPixel, WriteStoresRawBitsAndReadWidens) {
  const TPixelCase& Case = GetParam();
  TBitmap Bitmap = MakeBitmap(Case.Format, 3, 2);
  Bitmap.SetPixel(2, 1, Case.Written);
  const auto Raw = RawBits(Bitmap);
  ASSERT_EQ(Raw.size(), 6 * Case.Raw.size());  // rows without padding, even for an odd width
  EXPECT_EQ(std::vector(Raw.end() - long(Case.Raw.size()), Raw.end()), Case.Raw);
  EXPECT_EQ(Bitmap.GetPixel(2, 1), Case.Read);
}

using enum TPixelFormat;
const TPixelCase PixelCases[] = {
    {pf16bit, 0x202020, {0x04, 0x21}, 0x212021},
    {pf16bit, 0x010101, {0x21, 0x08}, 0x080408},
    {pf15bit, 0x202020, {0x84, 0x10}, 0x212121},
    {pf15bit, 0xFFFFFF, {0xFF, 0x7F}, 0xFFFFFF},
    {pf24bit, 0x123456, {0x12, 0x34, 0x56}, 0x123456},
    {pf8bit, 0x202020, {16}, 0x241828},
    {pf8bit, 0xFFFFFF, {1}, 0xFCFCFC},
    {pf8bit, 0x010000, {243}, 0x010000},
};
INSTANTIATE_TEST_SUITE_P(Formats, BitmapPixel, testing::ValuesIn(PixelCases), [](const auto& Info) {
  return CaseName(Info.param.Format) + "_" + HexName(Info.param.Written);
});

class BitmapCopy : public testing::TestWithParam<std::tuple<TPixelFormat, TPixelFormat>> {};

// Whatever shortcut a pair of formats takes, copying must equal reading and writing each colour.
TEST_P(BitmapCopy, EqualsPixelByPixelColourTransfer) {
  const auto [From, To] = GetParam();
  std::mt19937 Random(int(From) * 4 + int(To));
  const TBitmap Source = RandomBitmap(From, 37, 23, Random);
  TBitmap Copied = MakeBitmap(To, 37, 23), Expected = MakeBitmap(To, 37, 23);
  Copied.Draw(Source);
  for (int Y = 0; Y < 23; ++Y)
    for (int X = 0; X < 37; ++X) Expected.SetPixel(X, Y, Source.GetPixel(X, Y));
  EXPECT_EQ(RawBits(Copied), RawBits(Expected));
  if (From == To) return;
  TBitmap InPlace = Source;  // a word or 24-bit bitmap carries the palette it will need
  if (From != pf8bit) InPlace.SetPalette(CreateT1Palette());
  InPlace.SetPixelFormat(To);
  EXPECT_EQ(std::tuple(InPlace.PixelFormat(), InPlace.Width(), InPlace.Height()),
            std::tuple(To, 37, 23));
  EXPECT_EQ(RawBits(InPlace), RawBits(Expected));
}

INSTANTIATE_TEST_SUITE_P(AllPairs, BitmapCopy, testing::Combine(AllFormats, AllFormats),
                         [](const auto& Info) {
                           return CaseName(std::get<0>(Info.param)) + "_To_" +
                                  CaseName(std::get<1>(Info.param));
                         });

class BitmapWordRoundTrip : public testing::TestWithParam<TPixelFormat> {};

TEST_P(BitmapWordRoundTrip, EveryWordSurvives24Bits) {
  const TPixelFormat Format = GetParam();
  const TBitmap Words = AllWordsBitmap(Format);
  std::vector<std::uint8_t> Expected = RawBits(Words);
  if (Format == pf15bit)
    for (std::size_t I = 1; I < Expected.size(); I += 2) Expected[I] &= 0x7F;  // unused bit 15
  TBitmap Wide(pf24bit, 256, 256), Back(Format, 256, 256), InPlace = Words;
  Wide.Draw(Words);
  Back.Draw(Wide);
  EXPECT_EQ(RawBits(Back), Expected);
  InPlace.SetPixelFormat(pf24bit);
  EXPECT_EQ(RawBits(InPlace), RawBits(Wide));
  InPlace.SetPixelFormat(Format);
  EXPECT_EQ(RawBits(InPlace), Expected);
}

INSTANTIATE_TEST_SUITE_P(WordFormats, BitmapWordRoundTrip, testing::Values(pf15bit, pf16bit),
                         [](const auto& Info) { return CaseName(Info.param); });

struct TClipCase {
  const char* Name;
  int X, Y, SourceX, SourceY, Width, Height;
  bool FromItself;
};

class BitmapClip : public testing::TestWithParam<TClipCase> {};

TEST_P(BitmapClip, CopiesOnlyWhatBothBitmapsHold) {
  const TClipCase& Case = GetParam();
  std::mt19937 Random(11);
  const TBitmap Other = RandomBitmap(pf16bit, 6, 5, Random);
  TBitmap Target = RandomBitmap(pf24bit, 5, 4, Random);
  const TBitmap Before = Target;
  const TBitmap& Source = Case.FromItself ? Before : Other;
  Target.CopyRect(Case.X, Case.Y, Case.FromItself ? Target : Other, Case.SourceX, Case.SourceY,
                  Case.Width, Case.Height);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 5; ++X) {
      const int SX = Case.SourceX + X - Case.X, SY = Case.SourceY + Y - Case.Y;
      const bool Copied = X >= Case.X && X < Case.X + Case.Width && Y >= Case.Y &&
                          Y < Case.Y + Case.Height && SX >= 0 && SY >= 0 && SX < Source.Width() &&
                          SY < Source.Height();
      EXPECT_EQ(Target.GetPixel(X, Y), Copied ? Source.GetPixel(SX, SY) : Before.GetPixel(X, Y))
          << X << "," << Y;
    }
}

const TClipCase ClipCases[] = {
    {"LargerSource", 0, 0, 0, 0, 6, 5, false},
    {"PastTargetEnd", 2, 1, 0, 0, 10, 10, false},
    {"BeforeTargetStart", -2, -1, 0, 0, 4, 4, false},
    {"BeforeSourceStart", 0, 0, -3, -2, 5, 5, false},
    {"PastSourceEnd", 1, 1, 4, 3, 3, 3, false},
    {"NegativeWidth", 0, 0, 0, 0, -1, 3, false},
    {"ItselfRight", 1, 0, 0, 0, 4, 4, true},
    {"ItselfUpLeft", 0, 0, 1, 1, 4, 4, true},
    {"ItselfDown", 0, 1, 0, 0, 5, 4, true},
};
INSTANTIATE_TEST_SUITE_P(Rectangles, BitmapClip, testing::ValuesIn(ClipCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
