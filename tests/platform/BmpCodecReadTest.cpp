// The reader on hand-made files: the rules that the suite's images leave open, and refusals.

#include <gtest/gtest.h>

#include <functional>

#include "platform/unitBmpCodec.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"

namespace {

// A BMP file with a 40-byte (or padded) header, the masks and colour table after it (the masks
// inside the header from 56 bytes on, as those headers have them), and the pixel offset pointing
// at the pixels unless moved.
struct TFile {
  std::uint32_t HeaderSize = 40;
  std::int32_t Width = 1, Height = 1;
  std::uint16_t Planes = 1, BitCount = 8;
  std::uint32_t Compression = 0, ColoursUsed = 0;
  std::vector<std::uint32_t> Masks;
  std::vector<TColour> Palette;
  TBytes Pixels = {0, 0, 0, 0};
  std::int32_t PixelOffsetShift = 0;
  std::size_t CutTo = SIZE_MAX;

  TBytes Bytes() const {
    const bool MasksInHeader = HeaderSize >= 56;
    const auto Offset =
        std::uint32_t(14 + HeaderSize + 4 * ((MasksInHeader ? 0 : Masks.size()) + Palette.size()));
    TLeBytes Out;
    Out.U16(0x4D42).U32(Offset + std::uint32_t(Pixels.size())).U32(0);
    Out.U32(Offset + std::uint32_t(PixelOffsetShift)).U32(HeaderSize);
    Out.U32(std::uint32_t(Width)).U32(std::uint32_t(Height)).U16(Planes).U16(BitCount);
    Out.U32(Compression).U32(0).U32(0).U32(0).U32(ColoursUsed).U32(0);
    Out.Bytes.resize(14 + (MasksInHeader ? 40 : HeaderSize), 0);
    for (const std::uint32_t Mask : Masks) Out.U32(Mask);
    Out.Bytes.resize(std::max(Out.Bytes.size(), std::size_t(14 + HeaderSize)), 0);
    for (const TColour C : Palette) Out.U32(MakeColour(BlueOf(C), GreenOf(C), RedOf(C)));
    Out.Bytes.insert(Out.Bytes.end(), Pixels.begin(), Pixels.end());
    Out.Bytes.resize(std::min(CutTo, Out.Bytes.size()));
    return Out.Bytes;
  }
};

TEST(BmpRead, PadsThePaletteWithBlackAndKeepsIndicesBeyondIt) {
  TFile File;
  File.Width = 4;
  File.ColoursUsed = 2;
  File.Palette = {MakeColour(255, 0, 0), MakeColour(0, 128, 7)};
  File.Pixels = {1, 0, 2, 255};
  const auto Bitmap = ReadBmp(File.Bytes());
  ASSERT_EQ(Bitmap->PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(RawBits(*Bitmap), (TBytes{1, 0, 2, 255}));
  TPaletteEntries Expected{};
  Expected[0] = {255, 0, 0, 0};
  Expected[1] = {0, 128, 7, 0};
  EXPECT_EQ(Bitmap->Palette().Entries(), Expected);
}

TEST(BmpRead, TakesNoPaletteEntriesFromThePixels) {
  TFile File;
  File.Palette = {MakeColour(1, 2, 3), MakeColour(4, 5, 6)};  // 256 entries implied
  File.Pixels = {1, 0xFF, 0xFF, 0xFF};
  const auto Bitmap = ReadBmp(File.Bytes());
  EXPECT_EQ(Bitmap->Palette().Colour(1), MakeColour(4, 5, 6));
  EXPECT_EQ(Bitmap->Palette().Colour(2), ColourBlack);
}

TEST(BmpRead, UnpacksSmallIndicesHighBitsFirst) {
  struct {
    std::uint16_t BitCount;
    int Width;
    TBytes Row, Indices;
  } const Cases[] = {
      {1, 10, {0b10110010, 0b01000000, 0, 0}, {1, 0, 1, 1, 0, 0, 1, 0, 0, 1}},
      {2, 5, {0b00011011, 0b10000000, 0, 0}, {0, 1, 2, 3, 2}},
      {4, 3, {0x3C, 0x70, 0, 0}, {3, 12, 7}},
  };
  for (const auto& Case : Cases) {
    TFile File;
    File.BitCount = Case.BitCount;
    File.Width = Case.Width;
    File.Pixels = Case.Row;
    const auto Bitmap = ReadBmp(File.Bytes());
    ASSERT_EQ(Bitmap->PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(RawBits(*Bitmap), Case.Indices) << Case.BitCount << " bits";
  }
}

std::unique_ptr<TBitmap> ReadRle(std::uint32_t Compression, int Width, int Height,
                                 const TBytes& Codes) {
  TFile File;
  File.Compression = Compression;
  File.BitCount = Compression == 1 ? 8 : 4;
  File.Width = Width;
  File.Height = Height;
  File.Pixels = Codes;
  return ReadBmp(File.Bytes());
}

TEST(BmpRead, Rle8LeavesSkippedPixelsAtIndexZero) {
  const auto Bitmap = ReadRle(1, 5, 3, {3, 7,              // run on the bottom row
                                        0, 2, 1, 1,        // delta to (4, 1)
                                        1, 9,              //
                                        0, 0,              // end of line
                                        0, 3, 1, 2, 3, 0,  // three literal pixels and padding
                                        0, 1,              // end of bitmap
                                        2, 5});
  EXPECT_EQ(RawBits(*Bitmap), (TBytes{1, 2, 3, 0, 0,  //
                                      0, 0, 0, 0, 9,  //
                                      7, 7, 7, 0, 0}));
}

TEST(BmpRead, Rle4AlternatesNibblesAndSkipsLiteralPadding) {
  const auto Bitmap = ReadRle(2, 8, 2,
                              {5, 0x12, 0, 3, 0x34, 0x50,  // 1 2 1 2 1, then 3 4 5
                               0, 0,                       //
                               0, 5, 0xAB, 0xCD, 0xE0, 0,  // A B C D E and padding
                               2, 0xFF});
  EXPECT_EQ(RawBits(*Bitmap), (TBytes{10, 11, 12, 13, 14, 15, 15, 0,  //
                                      1, 2, 1, 2, 1, 3, 4, 5}));
}

TEST(BmpRead, RleRunsStopAtTheRowEnd) {
  const auto Bitmap = ReadRle(1, 2, 2, {5, 4, 1, 6, 0, 0, 1, 8});
  EXPECT_EQ(RawBits(*Bitmap), (TBytes{8, 0, 4, 4}));
}

TEST(BmpRead, RleMayLeaveASmallPictureMostlyUnpainted) {
  EXPECT_EQ(ReadRle(1, 1024, 1024, {0, 1})->Width(), 1024);
}

TEST(BmpRead, RleCutShortKeepsWhatItDecoded) {
  const auto Bitmap = ReadRle(1, 4, 1, {0, 4, 1, 2});
  EXPECT_EQ(RawBits(*Bitmap), (TBytes{1, 2, 0, 0}));
}

std::unique_ptr<TBitmap> ReadBitFields(std::uint16_t BitCount, std::vector<std::uint32_t> Masks,
                                       int Width, TBytes Pixels) {
  TFile File;
  File.BitCount = BitCount;
  File.Compression = Masks.empty() ? 0 : 3;
  File.Masks = std::move(Masks);
  File.Width = Width;
  File.Pixels = std::move(Pixels);
  return ReadBmp(File.Bytes());
}

TEST(BmpRead, WidensBitFieldChannelsToTheNearestValue) {
  struct {
    const char* Name;
    std::uint16_t BitCount;
    std::vector<std::uint32_t> Masks;
    TBytes Pixels, BlueGreenRed;
  } const Cases[] = {
      {"10-10-10 (1023, 512, 1) and (0, 511, 1022)",
       32,
       {0x3FF00000, 0x000FFC00, 0x000003FF},
       {0x01, 0x00, 0xF8, 0x3F, 0xFE, 0xFF, 0x07, 0x00},
       {0, 128, 255, 255, 127, 0}},
      {"4-4-4 (15, 8, 1)", 16, {0x0F00, 0x00F0, 0x000F}, {0x81, 0x0F, 0, 0}, {17, 136, 255}},
      {"1-2-3 (1, 2, 5)", 16, {0x0001, 0x0006, 0x0038}, {0x2D, 0x00, 0, 0}, {182, 170, 255}},
      {"5-6-5 with red and blue swapped",
       16,
       {0x001F, 0x07E0, 0xF800},
       {0x1F, 0, 0, 0},
       {0, 0, 255}},
      {"plain 32 bits: blue, green, red, ignored", 32, {}, {1, 2, 3, 4}, {1, 2, 3}},
  };
  for (const auto& Case : Cases) {
    const auto Bitmap =
        ReadBitFields(Case.BitCount, Case.Masks, int(Case.BlueGreenRed.size() / 3), Case.Pixels);
    ASSERT_EQ(Bitmap->PixelFormat(), TPixelFormat::pf24bit) << Case.Name;
    EXPECT_EQ(RawBits(*Bitmap), Case.BlueGreenRed) << Case.Name;
  }
}

TEST(BmpRead, Keeps16BitWordsOf555And565Files) {
  const TBytes Words = {0xFF, 0xFF, 0x01, 0x88};
  const auto Bitmap565 = ReadBitFields(16, {0xF800, 0x07E0, 0x001F}, 2, Words);
  ASSERT_EQ(Bitmap565->PixelFormat(), TPixelFormat::pf16bit);
  EXPECT_EQ(RawBits(*Bitmap565), Words);
  // The unused top bit of a 5-5-5 word is cleared.
  const TBytes Words555 = {0xFF, 0x7F, 0x01, 0x08};
  const std::unique_ptr<TBitmap> Bitmaps555[] = {
      ReadBitFields(16, {}, 2, Words), ReadBitFields(16, {0x7C00, 0x03E0, 0x001F}, 2, Words)};
  for (const auto& Bitmap : Bitmaps555) {
    ASSERT_EQ(Bitmap->PixelFormat(), TPixelFormat::pf15bit);
    EXPECT_EQ(RawBits(*Bitmap), Words555);
  }
}

struct TAlphaFile {
  const char* Name;
  std::uint32_t HeaderSize, Compression;
  std::uint16_t BitCount;
  std::vector<std::uint32_t> Masks;
  TBytes Pixels;
  TPixelFormat Format;
  TBytes Expected;
};

class BmpAlpha : public testing::TestWithParam<TAlphaFile> {};

TEST_P(BmpAlpha, MakesPixelsLessThanHalfOpaqueBlack) {
  TFile File;
  File.HeaderSize = GetParam().HeaderSize;
  File.Compression = GetParam().Compression;
  File.BitCount = GetParam().BitCount;
  File.Masks = GetParam().Masks;
  File.Pixels = GetParam().Pixels;
  File.Width = int(File.Pixels.size() * 8 / File.BitCount);
  const auto Bitmap = ReadBmp(File.Bytes());
  ASSERT_EQ(Bitmap->PixelFormat(), GetParam().Format);
  EXPECT_EQ(RawBits(*Bitmap), GetParam().Expected);
}

const std::vector<std::uint32_t> Bgra = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
// Blue 1, green 2, red 3 at alpha 0, 127, 128 and 255.
const TBytes FourAlphas = {1, 2, 3, 0, 1, 2, 3, 127, 1, 2, 3, 128, 1, 2, 3, 255};
const TBytes TwoBlackTwoColoured = {0, 0, 0, 0, 0, 0, 1, 2, 3, 1, 2, 3};
const TBytes FourColoured = {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3};
constexpr auto Rgb = 0u, BitFields = 3u, AlphaBitFields = 6u;

INSTANTIATE_TEST_SUITE_P(
    , BmpAlpha,
    testing::Values(TAlphaFile{"V5Header", 124, BitFields, 32, Bgra, FourAlphas,
                               TPixelFormat::pf24bit, TwoBlackTwoColoured},
                    TAlphaFile{"V3Header", 56, BitFields, 32, Bgra, FourAlphas,
                               TPixelFormat::pf24bit, TwoBlackTwoColoured},
                    TAlphaFile{"AlphaBitFieldsAfterAnInfoHeader", 40, AlphaBitFields, 32, Bgra,
                               FourAlphas, TPixelFormat::pf24bit, TwoBlackTwoColoured},
                    TAlphaFile{"EveryAlphaZeroMeansNoAlpha",
                               124,
                               BitFields,
                               32,
                               Bgra,
                               {1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0},
                               TPixelFormat::pf24bit,
                               FourColoured},
                    TAlphaFile{"OneBitAlphaKeepsTheWordsOf555",
                               124,
                               BitFields,
                               16,
                               {0x7C00, 0x03E0, 0x001F, 0x8000},
                               {0xFF, 0x7F, 0xFF, 0xFF},
                               TPixelFormat::pf15bit,
                               {0, 0, 0xFF, 0x7F}},
                    TAlphaFile{"PlainFilesIgnoreTheFourthMask", 124, Rgb, 32, Bgra, FourAlphas,
                               TPixelFormat::pf24bit, FourColoured},
                    TAlphaFile{"AMaskOverlappingAColourIsNoAlpha",
                               124,
                               BitFields,
                               32,
                               {0xFF0000, 0xFF00, 0xFF, 0xFF},
                               FourAlphas,
                               TPixelFormat::pf24bit,
                               FourColoured}),
    [](const auto& Info) { return CaseName(Info.param.Name); });

// The suite's bad files cover the plainly wrong fields; these cover the rest.
struct TRefusal {
  const char* Name;
  std::function<void(TFile&)> Change;
  const char* Message;
};

class BmpReadRefusal : public testing::TestWithParam<TRefusal> {};

TEST_P(BmpReadRefusal, RaisesBmpError) {
  TFile File;
  GetParam().Change(File);
  EXPECT_EQ(ErrorText<EBmpError>([&] { ReadBmp(File.Bytes()); }), GetParam().Message);
}

TEST(BmpReadRefusal, StartsFromAGoodFile) {
  EXPECT_NO_THROW(ReadBmp(TFile().Bytes()));
}

void SetRle8(TFile& F, int Width, int Height, std::size_t DataSize) {
  F.Compression = 1;
  F.Width = Width;
  F.Height = Height;
  F.Pixels.assign(DataSize, 0);  // end-of-line codes
}

void Set16BitMasks(TFile& F, std::vector<std::uint32_t> Masks) {
  F.Compression = 3;
  F.BitCount = 16;
  F.Masks = std::move(Masks);
}

const char* const Dimensions = "Bad BMP dimensions";
const char* const BitCount = "Unsupported BMP bit count";
const char* const Masks = "Bad BMP colour masks";
const char* const Offset = "Bad BMP pixel data offset";
const char* const TooLargeForData = "BMP too large for its data";

// Those that claim many pixels would allocate far more than their few bytes if they were
// not refused first.
INSTANTIATE_TEST_SUITE_P(
    Fields, BmpReadRefusal,
    testing::Values(
        TRefusal{"FewerBytesThanAHeaderSize", [](TFile& F) { F.CutTo = 17; }, "Not a BMP file"},
        TRefusal{"HeaderBeyondEnd", [](TFile& F) { F.HeaderSize = 124, F.CutTo = 100; },
                 "BMP header beyond end of file"},
        TRefusal{"ZeroHeight", [](TFile& F) { F.Height = 0; }, Dimensions},
        TRefusal{"LowestHeight", [](TFile& F) { F.Height = INT32_MIN; }, Dimensions},
        TRefusal{"Rle8Of4Bits", [](TFile& F) { F.Compression = 1, F.BitCount = 4; }, BitCount},
        TRefusal{"BitFieldsOf24Bits",
                 [](TFile& F) {
                   F.Compression = 3, F.BitCount = 24, F.Masks = {4, 2, 1};
                 },
                 BitCount},
        TRefusal{"Compression7", [](TFile& F) { F.Compression = 7; },
                 "Unsupported BMP compression"},
        TRefusal{"MasksBeyondEnd", [](TFile& F) { Set16BitMasks(F, {}), F.Pixels = {}; },
                 "BMP colour masks beyond end of file"},
        TRefusal{"SplitMask",
                 [](TFile& F) {
                   Set16BitMasks(F, {0xE001, 0x07E0, 0x001E});
                 },
                 Masks},
        TRefusal{"OverlappingMasks",
                 [](TFile& F) {
                   Set16BitMasks(F, {0xF800, 0x0FE0, 0x1F});
                 },
                 Masks},
        TRefusal{"ZeroMask",
                 [](TFile& F) {
                   Set16BitMasks(F, {0xF800, 0x07E0, 0});
                 },
                 Masks},
        TRefusal{"MaskBeyond16Bits",
                 [](TFile& F) {
                   Set16BitMasks(F, {0x1F0000, 0x07E0, 0x1F});
                 },
                 Masks},
        TRefusal{"PixelsInsideTheHeader", [](TFile& F) { F.PixelOffsetShift = -10; }, Offset},
        TRefusal{"PixelsBeyondEnd", [](TFile& F) { F.PixelOffsetShift = 5; }, Offset},
        TRefusal{"RowsBeyondEnd", [](TFile& F) { F.Height = 2; },
                 "BMP pixel data beyond end of file"},
        TRefusal{"FourGigapixelsInFourBytes", [](TFile& F) { F.Width = F.Height = 65536; },
                 "BMP pixel data beyond end of file"},
        TRefusal{"MorePixelsThanABitmapHolds", [](TFile& F) { F.Width = 65536, F.Height = 65537; },
                 "BMP too large"},
        TRefusal{"RleOfTooManyPixelsForItsData", [](TFile& F) { SetRle8(F, 16384, 16384, 2); },
                 TooLargeForData},
        TRefusal{"RleOfMorePixelsThanItsCodesCanPaint",
                 [](TFile& F) { SetRle8(F, 16384, 16384, 269000); }, TooLargeForData},
        TRefusal{"RleBeyondTheAbsoluteCap", [](TFile& F) { SetRle8(F, 16385, 16384, 300000); },
                 TooLargeForData}),
    [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
