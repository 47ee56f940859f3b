#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "sprites/unitS16Handler.h"
#include "tests/support/SpriteFactory.h"

namespace {

// Plain floating-point rounding, independent of the integer forms the code uses.
int Widen(int Value, int Max) {
  return int(std::lround(Value * 255.0 / Max));
}
int Narrow(int Value, int Max) {
  return Value == 0 ? 0 : std::max(1, int(std::lround(Value * double(Max) / 255.0)));
}

TColour ReferenceRead(std::uint16_t Word, bool Is555) {
  const int GreenBits = Is555 ? 5 : 6;
  const int Red = (Word >> (5 + GreenBits)) & 31, Green = (Word >> 5) & ((1 << GreenBits) - 1);
  return MakeColour(Widen(Red, 31), Widen(Green, (1 << GreenBits) - 1), Widen(Word & 31, 31));
}

}  // namespace

TEST(ChannelScalers, MatchRoundingForEveryInput) {
  for (int V = 0; V < 256; ++V) {
    if (V < 64) {
      EXPECT_EQ(Scale6To8(std::uint8_t(V)), Widen(V, 63)) << V;
      if (V < 32) {
        EXPECT_EQ(Scale5To8(std::uint8_t(V)), Widen(V, 31)) << V;
      }
    }
    EXPECT_EQ(Scale8To5(std::uint8_t(V)), Narrow(V, 31)) << V;
    EXPECT_EQ(Scale8To6(std::uint8_t(V)), Narrow(V, 63)) << V;
  }
}

TEST(ChannelScalers, TellingValues) {
  EXPECT_EQ(Scale5To8(1), 8);
  EXPECT_EQ(Scale5To8(15), 123);
  EXPECT_EQ(Scale5To8(16), 132);
  EXPECT_EQ(Scale6To8(1), 4);
  EXPECT_EQ(Scale6To8(31), 125);
  EXPECT_EQ(Scale6To8(32), 130);
  EXPECT_EQ(Scale8To5(12), 1);
  EXPECT_EQ(Scale8To5(13), 2);
  EXPECT_EQ(Scale8To5(250), 30);
  EXPECT_EQ(Scale8To5(251), 31);
  EXPECT_EQ(Scale8To6(6), 1);
  EXPECT_EQ(Scale8To6(7), 2);
  EXPECT_EQ(Scale8To6(253), 63);
}

struct TPixelAccessCase {
  int Width, Height, X, Y;
  const char* Error;  // nullptr: the access succeeds
};

class SpritePixelAccess : public testing::TestWithParam<TPixelAccessCase> {};

TEST_P(SpritePixelAccess, ChecksBoundsInOrder) {
  const TPixelAccessCase& Case = GetParam();
  auto Sprite =
      MakeSprite(Case.Width, Case.Height, TWords(std::size_t(Case.Width * Case.Height), 0x1234));
  const TWords Before = SpriteWords(*Sprite);
  for (bool Write : {false, true}) {
    SCOPED_TRACE(Write ? "WritePixel" : "ReadPixel");
    auto Access = [&] {
      if (Write)
        Sprite->WritePixel(Case.X, Case.Y, 0xFFFFFF);
      else
        Sprite->ReadPixel(Case.X, Case.Y);
    };
    EXPECT_EQ(ErrorText<ESpriteError>(Access), Case.Error ? Case.Error : "(no error)");
    if (Case.Error) {
      EXPECT_EQ(SpriteWords(*Sprite), Before);
    }
  }
}

constexpr const char* OffRight = "Pixel Reference off right of image";
constexpr const char* OffBottom = "Pixel Reference Off bottom of image";
constexpr const char* Negative = "Negative Pixel Reference in Sprite Access";

INSTANTIATE_TEST_SUITE_P(Bounds, SpritePixelAccess,
                         testing::Values(TPixelAccessCase{0, 0, 0, 0, OffRight},
                                         TPixelAccessCase{0, 0, -1, -1, Negative},
                                         TPixelAccessCase{10, 10, 10, 20, OffRight},
                                         TPixelAccessCase{10, 10, 10, -1, OffRight},
                                         TPixelAccessCase{10, 10, -1, 20, OffBottom},
                                         TPixelAccessCase{10, 10, 0, 10, OffBottom},
                                         TPixelAccessCase{10, 10, -1, 0, Negative},
                                         TPixelAccessCase{10, 10, 0, -1, Negative},
                                         TPixelAccessCase{10, 10, 9, 9, nullptr},
                                         TPixelAccessCase{3, 1, 2, 0, nullptr}));

TEST(SpritePixels, ReadWidensEveryWordInBothLayouts) {
  auto Sprite = MakeSprite(256, 256);
  for (int W = 0; W < 65536; ++W) Sprite->PixelData()[W] = std::uint16_t(W);
  for (bool Is555 : {false, true}) {
    Sprite->SetLayoutFlag(Is555);
    for (int W = 0; W < 65536; ++W)
      ASSERT_EQ(Sprite->ReadPixel(W % 256, W / 256), ReferenceRead(std::uint16_t(W), Is555))
          << std::hex << W << " 5-5-5: " << Is555;
  }
}

TEST(SpritePixels, WriteNarrowsAndPacks) {
  std::mt19937 Random(7);
  auto Sprite = MakeSprite(1, 1);
  for (int I = 0; I < 20000; ++I) {
    const TColour Colour = TColour(Random());  // the top byte must be ignored
    const int R = RedOf(Colour), G = GreenOf(Colour), B = BlueOf(Colour);
    for (bool Is555 : {false, true}) {
      Sprite->SetLayoutFlag(Is555);
      Sprite->WritePixel(0, 0, Colour);
      const int Expected = Is555 ? Narrow(R, 31) * 1024 + Narrow(G, 31) * 32 + Narrow(B, 31)
                                 : Narrow(R, 31) * 2048 + Narrow(G, 63) * 32 + Narrow(B, 31);
      ASSERT_EQ(Sprite->PixelData()[0], Expected) << std::hex << Colour;
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

TEST_P(SpriteWriteRead, StoresWordAndReadsColour) {
  const TWriteCase& Case = GetParam();
  auto Sprite = MakeSprite(2, 2, {}, Case.Is555);
  Sprite->WritePixel(1, 1, Case.Written);
  EXPECT_EQ(Sprite->PixelData()[3], Case.Word);
  EXPECT_EQ(Sprite->ReadPixel(1, 1), Case.ReadBack);
}

INSTANTIATE_TEST_SUITE_P(Examples, SpriteWriteRead,
                         testing::Values(TWriteCase{false, 0x010101, 0x0821, 0x080408},
                                         TWriteCase{false, 0x202020, 0x2104, 0x212021},
                                         TWriteCase{true, 0x202020, 0x1084, 0x212121},
                                         TWriteCase{false, 0xFFFFFF, 0xFFFF, 0xFFFFFF},
                                         TWriteCase{false, 0x000400, 0x0020, 0x000400},
                                         TWriteCase{true, 0xFF000000, 0, 0},
                                         TWriteCase{false, 0, 0, 0}));

struct TFormatCase {
  bool From, To;
  std::uint16_t Before, After;
};

class SpriteSetFormat : public testing::TestWithParam<TFormatCase> {};

TEST_P(SpriteSetFormat, ConvertsWords) {
  const TFormatCase& Case = GetParam();
  auto Sprite = MakeSprite(1, 1, {Case.Before}, Case.From);
  Sprite->SetFormat(Case.To);
  EXPECT_EQ(Sprite->Is555(), Case.To);
  EXPECT_EQ(Sprite->PixelData()[0], Case.After);
}

INSTANTIATE_TEST_SUITE_P(Examples, SpriteSetFormat,
                         testing::Values(TFormatCase{false, true, 0x0020, 0x0020},
                                         TFormatCase{false, true, 0xF800, 0x7C00},
                                         TFormatCase{false, true, 0x07E0, 0x03E0},
                                         TFormatCase{false, true, 0xFFFF, 0x7FFF},
                                         TFormatCase{true, false, 0x7FFF, 0xFFDF},
                                         TFormatCase{true, false, 0x8000, 0},
                                         TFormatCase{true, false, 0x03E0, 0x07C0},
                                         TFormatCase{false, false, 0x0020, 0x0020},
                                         TFormatCase{true, true, 0xFFFF, 0xFFFF}));

TEST(SpriteSetFormat, RoundTripClearsOnlyTheLowestGreenBit) {
  auto Sprite = MakeSprite(256, 256);
  for (int W = 0; W < 65536; ++W) Sprite->PixelData()[W] = std::uint16_t(W);
  Sprite->SetFormat(true);
  for (int W = 0; W < 65536; ++W) {
    const std::uint16_t Word = Sprite->PixelData()[W];
    ASSERT_EQ(Word & 0x8000, 0) << std::hex << W;
    ASSERT_EQ(Word == 0, W == 0) << std::hex << W;  // nothing turns transparent
  }
  Sprite->SetFormat(false);
  for (int W = 0; W < 65536; ++W) {
    const bool GreenIsOne = (W & 0x07E0) == 0x0020;
    const int Expected = GreenIsOne ? (W & ~0x07E0) | 0x0040 : W & ~0x0020;
    ASSERT_EQ(Sprite->PixelData()[W], Expected) << std::hex << W;
  }
}

TEST(SpriteSize, BufferFollowsBothSides) {
  TS16Sprite Sprite;
  EXPECT_EQ(Sprite.Width(), 0);
  EXPECT_EQ(Sprite.Height(), 0);
  EXPECT_FALSE(Sprite.Is555());
  EXPECT_EQ(Sprite.PixelCount(), 0u);
  Sprite.SetHeight(7);
  EXPECT_EQ(Sprite.PixelCount(), 0u);
  Sprite.SetWidth(3);
  EXPECT_EQ(Sprite.PixelCount(), 21u);
  Sprite.SetWidth(0);
  EXPECT_EQ(Sprite.PixelCount(), 0u);
  EXPECT_EQ(Sprite.Height(), 7);
}
