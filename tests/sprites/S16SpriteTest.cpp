#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>

#include "sprites/unitS16Handler.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"

namespace {

// Plain floating-point rounding, independent of the integer forms the code uses.
int Widen(int Value, int Max) {
  return int(std::lround(Value * 255.0 / Max));
}
int Narrow(int Value, int Max) {
  return Value == 0 ? 0 : std::max(1, int(std::lround(Value * double(Max) / 255.0)));
}

TEST(ChannelScalers, RoundForEveryInputAndNeverNarrowToZero) {
  for (int V = 0; V < 256; ++V) {
    EXPECT_EQ(Scale5To8(std::uint8_t(V & 31)), Widen(V & 31, 31)) << V;
    EXPECT_EQ(Scale6To8(std::uint8_t(V & 63)), Widen(V & 63, 63)) << V;
    EXPECT_EQ(Scale8To5(std::uint8_t(V)), Narrow(V, 31)) << V;
    EXPECT_EQ(Scale8To6(std::uint8_t(V)), Narrow(V, 63)) << V;
  }
}

struct TAccessCase {
  int Width, Height, X, Y;
  const char* Error;
};

class SpritePixelAccess : public testing::TestWithParam<TAccessCase> {};

TEST_P(SpritePixelAccess, ChecksBoundsInOrderAndChangesNothing) {
  const TAccessCase& Case = GetParam();
  auto Sprite = MakeSprite(Case.Width, Case.Height, TWords(100, 0x1234));
  EXPECT_EQ(ErrorText<ESpriteError>([&] { Sprite->ReadPixel(Case.X, Case.Y); }), Case.Error);
  EXPECT_EQ(ErrorText<ESpriteError>([&] { Sprite->WritePixel(Case.X, Case.Y, 0xFFFFFF); }),
            Case.Error);
  const bool Failed = std::string(Case.Error) != "(no error)";
  EXPECT_EQ(SpriteWords(*Sprite) == TWords(Sprite->PixelCount(), 0x1234), Failed);
}

const char* const OffRight = "Pixel Reference off right of image";
const char* const OffBottom = "Pixel Reference Off bottom of image";
const char* const Negative = "Negative Pixel Reference in Sprite Access";
const TAccessCase AccessCases[] = {
    {0, 0, 0, 0, OffRight},     {0, 0, -1, -1, Negative},    {10, 10, 10, 20, OffRight},
    {10, 10, 10, -1, OffRight}, {10, 10, -1, 20, OffBottom}, {10, 10, 0, 10, OffBottom},
    {10, 10, -1, 0, Negative},  {10, 10, 0, -1, Negative},   {10, 10, 9, 9, "(no error)"},
};
INSTANTIATE_TEST_SUITE_P(Bounds, SpritePixelAccess, testing::ValuesIn(AccessCases),
                         [](const auto& Info) {
                           const TAccessCase& Case = Info.param;
                           return SizeName(Case.Width, Case.Height) + "_At_" + NumberName(Case.X) +
                                  "_" + NumberName(Case.Y);
                         });

TEST(SpritePixels, ReadWidensEveryWordInBothLayouts) {
  auto Sprite = MakeSprite(256, 256);
  std::iota(Sprite->PixelData(), Sprite->PixelData() + 65536, 0);
  for (bool Is555 : {false, true}) {
    Sprite->SetLayoutFlag(Is555);
    const int GreenMax = Is555 ? 31 : 63;
    for (int W = 0; W < 65536; ++W) {
      const int Red = (W >> (Is555 ? 10 : 11)) & 31, Green = (W >> 5) & GreenMax;
      ASSERT_EQ(Sprite->ReadPixel(W % 256, W / 256),
                MakeColour(Widen(Red, 31), Widen(Green, GreenMax), Widen(W & 31, 31)))
          << std::hex << W << " 5-5-5: " << Is555;
    }
  }
}

struct TWriteCase {
  bool Is555;
  TColour Written;
  std::uint16_t Word;
  TColour ReadBack;
};

class SpriteWriteRead : public testing::TestWithParam<TWriteCase> {};

TEST_P(SpriteWriteRead, PacksTheNarrowedChannels) {
  const TWriteCase& Case = GetParam();
  auto Sprite = MakeSprite(2, 2, {}, Case.Is555);
  Sprite->WritePixel(1, 1, Case.Written);
  EXPECT_EQ(Sprite->PixelData()[3], Case.Word);
  EXPECT_EQ(Sprite->ReadPixel(1, 1), Case.ReadBack);
}

const TWriteCase WriteCases[] = {
    {false, 0x010101, 0x0821, 0x080408},  {false, 0x202020, 0x2104, 0x212021},
    {true, 0x202020, 0x1084, 0x212121},   {false, 0x000400, 0x0020, 0x000400},
    {false, 0x0D070C, 0x0842, 0x100808},  {true, 0x0D0C1C, 0x0C22, 0x100819},
    {true, 0xFFFFFFFF, 0x7FFF, 0xFFFFFF}, {false, 0xFF000000, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Examples, SpriteWriteRead, testing::ValuesIn(WriteCases),
                         [](const auto& Info) {
                           return LayoutName(Info.param.Is555) + "_" + HexName(Info.param.Written);
                         });

TEST(SpriteSetFormat, RoundTripClearsOnlyTheLowestGreenBit) {
  auto Sprite = MakeSprite(256, 256);
  std::iota(Sprite->PixelData(), Sprite->PixelData() + 65536, 0);
  Sprite->SetFormat(false);  // the layout it has: no change, nor below
  Sprite->SetFormat(true);
  Sprite->SetFormat(true);
  EXPECT_TRUE(Sprite->Is555());
  for (int W = 0; W < 65536; ++W) {
    ASSERT_EQ(Sprite->PixelData()[W] & 0x8000, 0) << std::hex << W;
    ASSERT_EQ(Sprite->PixelData()[W] == 0, W == 0) << std::hex << W;  // nothing turns clear
  }
  Sprite->SetFormat(false);
  EXPECT_FALSE(Sprite->Is555());
  for (int W = 0; W < 65536; ++W) {
    const int Expected = (W & 0x07E0) == 0x0020 ? (W & ~0x07E0) | 0x0040 : W & ~0x0020;
    ASSERT_EQ(Sprite->PixelData()[W], Expected) << std::hex << W;
  }
}

}  // namespace
