#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "imaging/resample.h"
#include "tests/imaging/ResampleReference.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"

namespace {

TBitmap RandomBitmap(int Width, int Height, std::mt19937& Random) {
  return RandomBitmap(TPixelFormat::pf24bit, Width, Height, Random);
}

// A grey row one pixel high: the three channels of each pixel are equal.
TBitmap GreyRow(const std::vector<int>& Values) {
  TBitmap Row(TPixelFormat::pf24bit, int(Values.size()), 1);
  for (std::size_t X = 0; X < Values.size(); ++X)
    Row.SetPixel(int(X), 0, MakeColour(Values[X], Values[X], Values[X]));
  return Row;
}

std::vector<int> GreysOf(const TBitmap& Row) {
  std::vector<int> Values;
  for (int X = 0; X < Row.Width(); ++X) {
    const TColour Colour = Row.GetPixel(X, 0);
    EXPECT_TRUE(RedOf(Colour) == GreenOf(Colour) && GreenOf(Colour) == BlueOf(Colour));
    Values.push_back(RedOf(Colour));
  }
  return Values;
}

TBitmap Resampled(TBitmap Source, int Width, int Height, const TFilterRow& Filter) {
  TBitmap Destination(TPixelFormat::pf24bit, Width, Height);
  ResampleBitmap(Source, Destination, Filter.Weight, Filter.Support);
  return Destination;
}

struct TRowCase {
  std::vector<int> Source;
  int Width;
  int FilterRow;
  std::vector<int> Expected;
};

class ResampleBitmapRows : public testing::TestWithParam<TRowCase> {};

TEST_P(ResampleBitmapRows, GiveTheWorkedValues) {
  const TRowCase& Case = GetParam();
  EXPECT_EQ(GreysOf(Resampled(GreyRow(Case.Source), Case.Width, 1, FilterTable[Case.FilterRow])),
            Case.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    ResampleBitmap, ResampleBitmapRows,
    testing::Values(
        // The end pixels of an enlarged row come out unchanged.
        TRowCase{{0, 255}, 4, 1, {0, 85, 170, 255}},
        // The left edge mirrors without repeating pixel 0, the right edge repeats pixel 3.
        TRowCase{{0, 30, 60, 90}, 2, 0, {20, 80}},
        // The first sum is exactly 22.5 and rounds to even.
        TRowCase{{10, 20, 30, 40, 50}, 2, 1, {22, 41}},
        // A single column repeats across.
        TRowCase{{77}, 4, 0, {77, 77, 77, 77}}, TRowCase{{77}, 5, 1, {77, 77, 77, 77, 77}},
        // A lone pixel blurs at the same size with the wide smooth filters.
        TRowCase{{0, 0, 255, 0, 0}, 5, 3, {0, 32, 191, 32, 0}},
        // 255 times the float 1/6 is 42.5000013, stored as the float 42.5: it rounds to even.
        TRowCase{{0, 0, 255, 0, 0}, 5, 4, {0, 42, 170, 42, 0}},
        TRowCase{{0, 0, 255, 0, 0}, 5, 6, {0, 14, 227, 14, 0}}),
    [](const auto& Info) {
      const TRowCase& Case = Info.param;
      return CaseName(FilterTable[std::size_t(Case.FilterRow)].Name) + "_" +
             std::to_string(Case.Source.size()) + "_To_" + std::to_string(Case.Width);
    });

float HalfNearZero(float X) {
  return std::fabs(X) < 0.25f ? 0.5f : 0.0f;
}
float MinusOne(float X) {
  return std::fabs(X) < 0.5f ? -1.0f : 0.0f;
}
float Double(float X) {
  return std::fabs(X) < 0.5f ? 2.0f : 0.0f;
}

struct TClampCase {
  const char* Name;
  TFilterFunction Filter;
  std::vector<int> Source;
  std::vector<int> Expected;
};

class ResampleBitmapClamps : public testing::TestWithParam<TClampCase> {};

TEST_P(ResampleBitmapClamps, EverySum) {
  const TClampCase& Case = GetParam();
  const int Width = int(Case.Source.size());
  EXPECT_EQ(GreysOf(Resampled(GreyRow(Case.Source), Width, 1, {"", Case.Filter, 0.5f})),
            Case.Expected);
}

// Each pass halves: 127.5 rounds up to 128 and 126.5 down to 126, then both halve exactly.
INSTANTIATE_TEST_SUITE_P(
    ResampleBitmap, ResampleBitmapClamps,
    testing::Values(TClampCase{"HalfNearZero", HalfNearZero, {255, 253, 45}, {64, 63, 11}},
                    TClampCase{"MinusOne", MinusOne, {255, 1, 0}, {0, 0, 0}},
                    TClampCase{"Double", Double, {200, 100, 0}, {255, 255, 0}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

class ResampleBitmapSameSize : public testing::TestWithParam<int> {};

TEST_P(ResampleBitmapSameSize, IsTheIdentity) {
  std::mt19937 Random(7);
  const TBitmap Source = RandomBitmap(37, 19, Random);
  EXPECT_EQ(RawBits(Resampled(Source, 37, 19, FilterTable[GetParam()])), RawBits(Source));
}

INSTANTIATE_TEST_SUITE_P(ResampleBitmap, ResampleBitmapSameSize, testing::Values(0, 1),
                         FilterRowName);

// Random sizes from one pixel up, growing and shrinking each axis, so that wide filters also
// run far past the edges of tiny sources.
class ResampleBitmapMatchesReference : public testing::TestWithParam<int> {};

TEST_P(ResampleBitmapMatchesReference, BitForBit) {
  const TFilterRow& Filter = FilterTable[GetParam()];
  std::mt19937 Random{unsigned(GetParam())};
  auto Extent = [&](int Smallest) {
    const int Largest = Random() % 4 == 0 ? 90 : 12;
    return Smallest + int(Random() % unsigned(Largest - Smallest + 1));
  };
  for (int Case = 0; Case < 150; ++Case) {
    const int SourceWidth = Extent(1);
    const int SourceHeight = Extent(1);
    // A side of 1 from a longer side has a scale of zero.
    const int Width = Extent(SourceWidth == 1 ? 1 : 2);
    const int Height = Extent(SourceHeight == 1 ? 1 : 2);
    const TBitmap Source = RandomBitmap(SourceWidth, SourceHeight, Random);
    ASSERT_EQ(RawBits(Resampled(Source, Width, Height, Filter)),
              RawBits(ReferenceResample(Source, Width, Height, Filter.Weight, Filter.Support)))
        << Filter.Name << " " << SourceWidth << "x" << SourceHeight << " to " << Width << "x"
        << Height;
  }
}

INSTANTIATE_TEST_SUITE_P(ResampleBitmap, ResampleBitmapMatchesReference,
                         testing::Range(0, int(FilterTable.size())), FilterRowName);

// Words are widened a band of rows at a time: sources shorter than a band, and bands with a
// remainder, give what the whole 5-6-5 bitmap gives.
class ResampleWordsMatchesBitmap : public testing::TestWithParam<int> {};

TEST_P(ResampleWordsMatchesBitmap, BitForBit) {
  const TFilterRow& Filter = FilterTable[GetParam()];
  std::mt19937 Random{unsigned(GetParam())};
  for (int Case = 0; Case < 40; ++Case) {
    const int SourceWidth = 1 + int(Random() % 40), SourceHeight = 1 + int(Random() % 70);
    TBitmap Source = RandomBitmap(TPixelFormat::pf16bit, SourceWidth, SourceHeight, Random);
    std::vector<std::uint8_t> Words(2 * std::size_t(SourceWidth) * std::size_t(SourceHeight));
    Source.ReadRawBits(Words.data());
    const int Width = 2 + int(Random() % 30), Height = 2 + int(Random() % 30);
    TBitmap FromWords(TPixelFormat::pf24bit, Width, Height);
    ResampleWords(Words.data(), SourceWidth, SourceHeight, FromWords, Filter.Weight,
                  Filter.Support);
    ASSERT_EQ(RawBits(FromWords), RawBits(Resampled(Source, Width, Height, Filter)))
        << Filter.Name << " " << SourceWidth << "x" << SourceHeight << " to " << Width << "x"
        << Height;
  }
}

INSTANTIATE_TEST_SUITE_P(ResampleWords, ResampleWordsMatchesBitmap,
                         testing::Range(0, int(FilterTable.size())), FilterRowName);

TEST(ResampleBitmap, ConvertsTheSourceInPlace) {
  TBitmap Source(TPixelFormat::pf16bit, 3, 2);
  Source.SetPixel(1, 1, 0x00FF00);
  TBitmap Destination(TPixelFormat::pf8bit, 3, 2);
  ResampleBitmap(Source, Destination, TriangleFilter, 1.0f);
  EXPECT_EQ(Source.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(Destination.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(Destination.GetPixel(1, 1), 0x00FF00u);
}

TEST(ResampleBitmap, RefusesAnEmptySourceBeforeChangingAnything) {
  for (const auto& [Width, Height] : {std::pair{0, 4}, std::pair{4, 0}}) {
    TBitmap Source(TPixelFormat::pf16bit, Width, Height);
    TBitmap Destination(TPixelFormat::pf16bit, 2, 2);
    Destination.SetPixel(1, 0, 0xF8FC00);
    const auto Before = RawBits(Destination);
    try {
      ResampleBitmap(Source, Destination, BoxFilter, 0.5f);
      ADD_FAILURE() << "no error";
    } catch (const EResampleError& Error) {
      EXPECT_STREQ(Error.what(), "Source bitmap too small");
    }
    EXPECT_EQ(Source.PixelFormat(), TPixelFormat::pf16bit);
    EXPECT_EQ(Destination.PixelFormat(), TPixelFormat::pf16bit);
    EXPECT_EQ(RawBits(Destination), Before);
  }
}

struct TZeroScaleCase {
  int SourceWidth, SourceHeight, Width, Height;
};

class ResampleBitmapZeroScale : public testing::TestWithParam<TZeroScaleCase> {};

TEST_P(ResampleBitmapZeroScale, DividesByZeroBeforeWritingAPixel) {
  const TZeroScaleCase& Case = GetParam();
  std::mt19937 Random(3);
  TBitmap Source = RandomBitmap(Case.SourceWidth, Case.SourceHeight, Random);
  TBitmap Destination = RandomBitmap(Case.Width, Case.Height, Random);
  const auto Before = RawBits(Destination);
  EXPECT_THROW(ResampleBitmap(Source, Destination, TriangleFilter, 1.0f), EZeroDivide);
  EXPECT_EQ(RawBits(Destination), Before);
}

INSTANTIATE_TEST_SUITE_P(ResampleBitmap, ResampleBitmapZeroScale,
                         testing::Values(TZeroScaleCase{5, 4, 3, 1}, TZeroScaleCase{5, 4, 1, 3},
                                         TZeroScaleCase{1, 4, 0, 3}, TZeroScaleCase{5, 1, 3, 0}),
                         [](const auto& Info) {
                           const TZeroScaleCase& Case = Info.param;
                           return SizeName(Case.SourceWidth, Case.SourceHeight) + "_To_" +
                                  SizeName(Case.Width, Case.Height);
                         });

TEST(ResampleBitmap, RefusesASupportThatIsNotANumber) {
  std::mt19937 Random(5);
  for (const float Support :
       {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
    EXPECT_THROW(Resampled(RandomBitmap(4, 4, Random), 3, 3, {"", TriangleFilter, Support}),
                 EResampleError);
}

}  // namespace
