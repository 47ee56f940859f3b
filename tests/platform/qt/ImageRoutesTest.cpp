// Import From and Export To on large pictures take routes that convert rows as they go, on
// several threads: each must give the words and bytes of the plain routes through whole
// bitmaps, for every form of file and for pictures large enough to be shared among threads.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <random>

#include "platform/qt/unitImageImport.h"
#include "platform/qt/unitQtImageBridge.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitLittleEndian.h"
#include "sprites/unitBitmapRoutes.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/PngFactory.h"
#include "tests/support/SpriteFactory.h"

namespace {

// Wider than a read band's rows, with padding, and more pixels than one thread takes.
constexpr int LargeWidth = 2051;
constexpr int LargeHeight = 1100;

// Colours with black and near-black among them.
QImage RandomImage(int Width, int Height, QImage::Format Format) {
  std::mt19937 Random(5);
  QImage Image(Width, Height, QImage::Format_ARGB32);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const unsigned Kind = Random() % 4;
      Image.setPixel(X, Y,
                     Kind == 0   ? qRgba(0, 0, 0, 255)
                     : Kind == 1 ? qRgba(0, 0, int(Random() % 4), int(Random() % 256))
                                 : Random() | 0x80000000u);
    }
  return Image.convertToFormat(Format);
}

// A 24-bit BMP, bottom-up or top-down, of random colours with black among them.
TBytes PlainBmp(int Width, int Height, bool TopDown) {
  std::mt19937 Random(3);
  TBytes Bytes = EncodeBmp(RandomBitmap(TPixelFormat::pf24bit, Width, Height, Random));
  for (std::size_t I = 54; I < Bytes.size(); I += 7) Bytes[I] = 0;
  if (TopDown) PutLe32(&Bytes[22], std::uint32_t(-Height));
  return Bytes;
}

TBytes QtFile(const QImage& Image, const char* Format) {
  const QByteArray Bytes = Encoded(Image, Format);
  return TBytes(Bytes.begin(), Bytes.end());
}

struct TImportCase {
  std::string Name;
  std::function<TBytes()> File;
};

class ImageImport : public testing::TestWithParam<TImportCase> {};

TEST_P(ImageImport, MakesTheSpriteOfThePlainRoute) {
  TTempDir Dir;
  const std::string Path = Dir.File("picture");
  WriteBytes(Path, GetParam().File());
  const auto Expected = SpriteFromImportedBitmap(*LoadImageFile(Path));
  const auto Sprite = TImageImport(Path).MakeSprite();
  ASSERT_EQ(Sprite->Width(), Expected->Width());
  ASSERT_EQ(Sprite->Height(), Expected->Height());
  EXPECT_FALSE(Sprite->Is555());
  EXPECT_TRUE(SpriteWords(*Sprite) == SpriteWords(*Expected));
}

std::vector<TImportCase> ImportCases() {
  std::vector<TImportCase> Cases = {
      {"LargeBmp", [] { return PlainBmp(LargeWidth, LargeHeight, false); }},
      {"LargeTopDownBmp", [] { return PlainBmp(LargeWidth, LargeHeight, true); }},
      {"OnePixelBmp", [] { return PlainBmp(1, 1, false); }},
      {"BmpWithoutItsLastPadding",
       [] {
         TBytes Bytes = PlainBmp(5, 3, false);
         Bytes.resize(Bytes.size() - 1);
         return Bytes;
       }},
      {"LargePng",
       [] { return QtFile(RandomImage(LargeWidth, LargeHeight, QImage::Format_RGB32), "PNG"); }},
      {"PngWithAlpha", [] { return QtFile(RandomImage(300, 200, QImage::Format_ARGB32), "PNG"); }},
      {"GreyPng", [] { return QtFile(RandomImage(30, 20, QImage::Format_Grayscale8), "PNG"); }},
      {"DeepPng", [] { return QtFile(RandomImage(30, 20, QImage::Format_RGBA64), "PNG"); }},
  };
  // Every other form of BMP, and the odd corners of the plain one.
  for (const auto& Entry : std::filesystem::directory_iterator(PELBROOK_TESTDATA "/bmpsuite/g")) {
    const std::string Path = Entry.path().string();
    Cases.push_back({"Suite_" + Entry.path().stem().string(), [Path] { return ReadBytes(Path); }});
  }
  return Cases;
}

INSTANTIATE_TEST_SUITE_P(Files, ImageImport, testing::ValuesIn(ImportCases()),
                         [](const auto& Info) { return CaseName(Info.param.Name); });

// Files the reader refuses are refused as the plain route refuses them, with its message.
TEST(ImageImportRefusals, AreThoseOfThePlainRoute) {
  int Files = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(PELBROOK_TESTDATA "/bmpsuite/b")) {
    const std::string Path = Entry.path().string();
    const std::string Expected = ErrorText<std::exception>([&] { LoadImageFile(Path); });
    EXPECT_EQ(ErrorText<std::exception>([&] { TImageImport{Path}; }), Expected) << Path;
    ++Files;
  }
  EXPECT_GT(Files, 0);
}

struct TExportCase {
  const char* Name;
  int Filter;
  int Width;
  int Height;
};

class ImageExport : public testing::TestWithParam<TExportCase> {};

// A PNG's deflate may change; its pixels may not.
TEST_P(ImageExport, WritesTheFileOfThePlainRoute) {
  const TExportCase& Case = GetParam();
  std::mt19937 Random(8);
  auto Sprite = MakeSprite(Case.Width, Case.Height);
  for (std::size_t I = 0; I < Sprite->PixelCount(); ++I)
    Sprite->PixelData()[I] = Random() % 5 == 0 ? 0 : std::uint16_t(Random());
  TTempDir Dir;
  const std::string Path = Dir.File("export");
  SaveExportFile(*Sprite, Case.Filter, Path);
  const auto Plain = MakeExportBitmap(*Sprite, Case.Filter);
  if (Case.Filter != ExportFilterPng) {
    EXPECT_TRUE(ReadBytes(Path) == EncodeBmp(*Plain));
    return;
  }
  const QImage Written =
      QImage(QString::fromStdString(Path)).convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(Written, ImageOfBitmap(*Plain));
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ImageExport,
    testing::Values(TExportCase{"Large24Bit", ExportFilter24Bit, LargeWidth, LargeHeight},
                    TExportCase{"Large16Bit", ExportFilter16Bit, LargeWidth, LargeHeight},
                    TExportCase{"LargePng", ExportFilterPng, LargeWidth, LargeHeight},
                    TExportCase{"Small24Bit", ExportFilter24Bit, 3, 2},
                    TExportCase{"Small16Bit", ExportFilter16Bit, 1, 1},
                    TExportCase{"Small8Bit", ExportFilter8Bit, 7, 5}),
    [](const auto& Info) { return CaseName(Info.param.Name); });

}  // namespace
