// The writer: exact bytes at each depth, the way back through the reader, and the files.

#include <gtest/gtest.h>

#include <random>

#include "platform/unitBmpCodec.h"
#include "platform/unitFileIO.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/TempDir.h"

namespace {

std::uint32_t FieldAt(const TBytes& Bytes, std::size_t At, int Size) {
  std::uint32_t Value = 0;
  for (int I = Size - 1; I >= 0; --I) Value = (Value << 8) | Bytes.at(At + std::size_t(I));
  return Value;
}

struct TExpectedHeader {
  std::uint32_t Width, Height, BitCount, Compression, PixelOffset, ImageSize, ColoursUsed;
};

void ExpectHeader(const TBytes& Bytes, const TExpectedHeader& E) {
  struct {
    const char* Name;
    std::size_t At;
    int Size;
    std::uint32_t Value;
  } const Fields[] = {
      {"bfType", 0, 2, 0x4D42},
      {"bfSize", 2, 4, E.PixelOffset + E.ImageSize},
      {"bfReserved", 6, 4, 0},
      {"bfOffBits", 10, 4, E.PixelOffset},
      {"biSize", 14, 4, 40},
      {"biWidth", 18, 4, E.Width},
      {"biHeight", 22, 4, E.Height},
      {"biPlanes", 26, 2, 1},
      {"biBitCount", 28, 2, E.BitCount},
      {"biCompression", 30, 4, E.Compression},
      {"biSizeImage", 34, 4, E.ImageSize},
      {"biXPelsPerMeter", 38, 4, 2835},
      {"biYPelsPerMeter", 42, 4, 2835},
      {"biClrUsed", 46, 4, E.ColoursUsed},
      {"biClrImportant", 50, 4, 0},
  };
  ASSERT_EQ(Bytes.size(), E.PixelOffset + E.ImageSize);
  for (const auto& Field : Fields)
    EXPECT_EQ(FieldAt(Bytes, Field.At, Field.Size), Field.Value) << Field.Name;
}

// Raw bytes 1, 2, 3... row by row.
TBitmap CountingBitmap(TPixelFormat Format, int Width, int Height) {
  TBitmap Bitmap(Format, Width, Height);
  TBytes Raw(Bitmap.RawSize());
  for (std::size_t I = 0; I < Raw.size(); ++I) Raw[I] = std::uint8_t(I + 1);
  Bitmap.WriteRawBits(Raw.data());
  return Bitmap;
}

TBytes Tail(const TBytes& Bytes, std::size_t From) {
  return TBytes(Bytes.begin() + long(From), Bytes.end());
}

TEST(BmpWrite, Writes24BitRowsBottomUpPaddedToFourBytes) {
  const TBytes Bytes = EncodeBmp(CountingBitmap(TPixelFormat::pf24bit, 3, 2));
  ExpectHeader(Bytes, {3, 2, 24, 0, 54, 24, 0});
  EXPECT_EQ(Tail(Bytes, 54), (TBytes{10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0,  //
                                     1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0}));
}

TEST(BmpWrite, Writes16BitWordsWith565Masks) {
  const TBytes Bytes = EncodeBmp(CountingBitmap(TPixelFormat::pf16bit, 3, 2));
  ExpectHeader(Bytes, {3, 2, 16, 3, 66, 16, 0});
  EXPECT_EQ(FieldAt(Bytes, 54, 4), 0xF800u);
  EXPECT_EQ(FieldAt(Bytes, 58, 4), 0x07E0u);
  EXPECT_EQ(FieldAt(Bytes, 62, 4), 0x001Fu);
  EXPECT_EQ(Tail(Bytes, 66), (TBytes{7, 8, 9, 10, 11, 12, 0, 0, 1, 2, 3, 4, 5, 6, 0, 0}));
}

TEST(BmpWrite, Writes8BitIndicesAndTheWholePalette) {
  TBitmap Bitmap = CountingBitmap(TPixelFormat::pf8bit, 3, 2);
  TPaletteEntries Entries;
  for (int I = 0; I < 256; ++I)
    Entries[I] = {std::uint8_t(I), std::uint8_t(255 - I), std::uint8_t(I / 2), 0x55};
  Bitmap.SetPalette(std::make_unique<TPalette>(Entries));
  const TBytes Bytes = EncodeBmp(Bitmap);
  ExpectHeader(Bytes, {3, 2, 8, 0, 1078, 8, 256});
  for (int I = 0; I < 256; ++I)
    ASSERT_EQ(FieldAt(Bytes, 54 + 4 * std::size_t(I), 4),
              std::uint32_t(I / 2) | std::uint32_t(255 - I) << 8 | std::uint32_t(I) << 16)
        << "entry " << I;
  EXPECT_EQ(Tail(Bytes, 1078), (TBytes{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(BmpWrite, RefusesWhatABmpFileDoesNotHold) {
  EXPECT_THROW(EncodeBmp(TBitmap(TPixelFormat::pf15bit, 2, 2)), EBmpError);
  EXPECT_THROW(EncodeBmp(TBitmap(TPixelFormat::pf24bit, 0, 3)), EBmpError);
  EXPECT_THROW(EncodeBmp(TBitmap(TPixelFormat::pf8bit, 3, 0)), EBmpError);
}

struct TShape {
  TPixelFormat Format;
  int Width, Height;
};

TBitmap RandomBitmap(const TShape& Shape) {
  std::mt19937 Random(unsigned(Shape.Width * 31 + Shape.Height));
  return RandomBitmap(Shape.Format, Shape.Width, Shape.Height, Random);
}

void ExpectSameBitmap(const TBitmap& Actual, const TBitmap& Expected) {
  ASSERT_EQ(Actual.PixelFormat(), Expected.PixelFormat());
  ASSERT_EQ(Actual.Width(), Expected.Width());
  ASSERT_EQ(Actual.Height(), Expected.Height());
  EXPECT_EQ(RawBits(Actual), RawBits(Expected));
  if (Expected.PixelFormat() == TPixelFormat::pf8bit) {
    EXPECT_EQ(Actual.Palette().Entries(), Expected.Palette().Entries());
  }
}

class BmpRoundTrip : public testing::TestWithParam<TShape> {};

TEST_P(BmpRoundTrip, ReadsBackWhatWasWritten) {
  const TBitmap Bitmap = RandomBitmap(GetParam());
  ExpectSameBitmap(*ReadBmp(EncodeBmp(Bitmap)), Bitmap);
}

// Only the padding of the last row may be missing; every shorter file is refused cleanly.
TEST_P(BmpRoundTrip, TruncatedFilesAreRefusedUnlessOnlyPaddingIsMissing) {
  const TBitmap Bitmap = RandomBitmap(GetParam());
  const TBytes Bytes = EncodeBmp(Bitmap);
  const std::size_t RowSize = std::size_t(Bitmap.Width() * BytesPerPixel(Bitmap.PixelFormat()));
  const std::size_t Complete = Bytes.size() - ((4 - RowSize % 4) % 4);
  for (std::size_t Length = 0; Length < Bytes.size(); ++Length) {
    const std::span<const std::uint8_t> Prefix(Bytes.data(), Length);
    if (Length >= Complete)
      ExpectSameBitmap(*ReadBmp(Prefix), Bitmap);
    else
      EXPECT_THROW(ReadBmp(Prefix), EBmpError) << Length << " bytes";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BmpRoundTrip,
    testing::Values(TShape{TPixelFormat::pf8bit, 1, 1}, TShape{TPixelFormat::pf8bit, 5, 3},
                    TShape{TPixelFormat::pf16bit, 1, 1}, TShape{TPixelFormat::pf16bit, 3, 4},
                    TShape{TPixelFormat::pf24bit, 1, 1}, TShape{TPixelFormat::pf24bit, 7, 2},
                    TShape{TPixelFormat::pf24bit, 4, 3}),
    [](const auto& Info) {
      return CaseName(Info.param.Format) + "_" + SizeName(Info.param.Width, Info.param.Height);
    });

TEST(BmpFile, SavesTheEncodedBytesOverAnOldFile) {
  const TTempDir Folder;
  const std::string Path = Folder.File("sprite.bmp");
  WriteBytes(Path, {'o', 'l', 'd'});
  const TBitmap Bitmap = RandomBitmap({TPixelFormat::pf16bit, 3, 2});
  SaveBmpFile(Bitmap, Path);
  EXPECT_EQ(ReadBytes(Path), EncodeBmp(Bitmap));
  ExpectSameBitmap(*LoadBmpFile(Path), Bitmap);
  EXPECT_EQ(Folder.Entries(), std::vector<std::string>{"sprite.bmp"});
}

TEST(BmpFile, SaveIntoAMissingFolderNamesThePath) {
  const TTempDir Folder;
  const std::string Path = Folder.File("missing/sprite.bmp");
  const std::string Message = ErrorText<EInOutError>([&] {
    SaveBmpFile(RandomBitmap({TPixelFormat::pf24bit, 2, 2}), Path);
  });
  EXPECT_NE(Message.find(Path), std::string::npos) << Message;
}

TEST(BmpFile, RefusedBitmapLeavesNoFile) {
  const TTempDir Folder;
  EXPECT_THROW(SaveBmpFile(TBitmap(TPixelFormat::pf15bit, 2, 2), Folder.File("a.bmp")), EBmpError);
  EXPECT_TRUE(Folder.Entries().empty());
}

TEST(BmpFile, LoadOfAMissingFileIsAnInOutError) {
  EXPECT_THROW(LoadBmpFile(TTempDir().File("none.bmp")), EInOutError);
}

TEST(BmpFile, LoadRefusesAHugeFileBeforeReadingIt) {
  const TTempDir Folder;
  const std::string Path = Folder.File("huge.bmp");
  WriteBytes(Path, {'B', 'M'});
  std::filesystem::resize_file(Path, MaxBmpFileSize + 1);  // sparse: no disk used
  EXPECT_THROW(LoadBmpFile(Path), EBmpError);
}

}  // namespace
