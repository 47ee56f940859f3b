// The reader against the BMP Suite images: the good ones decode as Qt decodes them, the
// variants as their plain counterparts, and the questionable and bad ones decode or are refused.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/unitBmpCodec.h"
#include "tests/support/CaseNames.h"

namespace {

const std::string SuiteFolder = PELBROOK_TESTDATA "/bmpsuite/";

std::string TestName(const std::string& Path) {
  return CaseName(std::filesystem::path(Path).stem().string());
}

// Words for 16-bit bitmaps, colours otherwise.
std::uint32_t PixelOf(const TBitmap& Bitmap, int X, int Y) {
  if (BytesPerPixel(Bitmap.PixelFormat()) != 2) return Bitmap.GetPixel(X, Y);
  std::uint16_t Word;
  std::memcpy(&Word, Bitmap.ScanLine(Y) + 2 * X, 2);
  return Word;
}

// Qt widens 5- and 6-bit channels by shifting where GetPixel rounds; every usual widening
// keeps the channel's value in the top bits, so comparing those compares the words exactly.
std::uint32_t QtPixelAs(TPixelFormat Format, QRgb C) {
  const unsigned R = unsigned(qRed(C)), G = unsigned(qGreen(C)), B = unsigned(qBlue(C));
  switch (Format) {
    case TPixelFormat::pf15bit:
      return ((R >> 3) << 10) | ((G >> 3) << 5) | (B >> 3);
    case TPixelFormat::pf16bit:
      return ((R >> 3) << 11) | ((G >> 2) << 5) | (B >> 3);
    default:
      return MakeColour(R, G, B);
  }
}

struct TGoodFile {
  const char* Name;
  TPixelFormat Format;
};

class BmpSuiteGood : public testing::TestWithParam<TGoodFile> {};

TEST_P(BmpSuiteGood, DecodesLikeQt) {
  const std::string Path = SuiteFolder + "g/" + GetParam().Name;
  const auto Bitmap = LoadBmpFile(Path);
  ASSERT_EQ(Bitmap->PixelFormat(), GetParam().Format);
  const QImage Reference =
      QImage(QString::fromStdString(Path)).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(Reference.isNull());
  ASSERT_EQ(Bitmap->Width(), Reference.width());
  ASSERT_EQ(Bitmap->Height(), Reference.height());
  for (int Y = 0; Y < Reference.height(); ++Y)
    for (int X = 0; X < Reference.width(); ++X)
      ASSERT_EQ(PixelOf(*Bitmap, X, Y), QtPixelAs(GetParam().Format, Reference.pixel(X, Y)))
          << "at " << X << ", " << Y;
}

constexpr auto Pf8 = TPixelFormat::pf8bit, Pf15 = TPixelFormat::pf15bit,
               Pf16 = TPixelFormat::pf16bit, Pf24 = TPixelFormat::pf24bit;

INSTANTIATE_TEST_SUITE_P(
    AllFiles, BmpSuiteGood,
    testing::Values(
        TGoodFile{"pal1.bmp", Pf8}, TGoodFile{"pal1bg.bmp", Pf8}, TGoodFile{"pal1wb.bmp", Pf8},
        TGoodFile{"pal4.bmp", Pf8}, TGoodFile{"pal4gs.bmp", Pf8}, TGoodFile{"pal4rle.bmp", Pf8},
        TGoodFile{"pal8-0.bmp", Pf8}, TGoodFile{"pal8.bmp", Pf8}, TGoodFile{"pal8gs.bmp", Pf8},
        TGoodFile{"pal8nonsquare.bmp", Pf8}, TGoodFile{"pal8os2.bmp", Pf8},
        TGoodFile{"pal8rle.bmp", Pf8}, TGoodFile{"pal8topdown.bmp", Pf8},
        TGoodFile{"pal8v4.bmp", Pf8}, TGoodFile{"pal8v5.bmp", Pf8}, TGoodFile{"pal8w124.bmp", Pf8},
        TGoodFile{"pal8w125.bmp", Pf8}, TGoodFile{"pal8w126.bmp", Pf8},
        TGoodFile{"rgb16-565.bmp", Pf16}, TGoodFile{"rgb16-565pal.bmp", Pf16},
        TGoodFile{"rgb16.bmp", Pf15}, TGoodFile{"rgb16bfdef.bmp", Pf15},
        TGoodFile{"rgb24.bmp", Pf24}, TGoodFile{"rgb24pal.bmp", Pf24}, TGoodFile{"rgb32.bmp", Pf24},
        TGoodFile{"rgb32bf.bmp", Pf24}, TGoodFile{"rgb32bfdef.bmp", Pf24}),
    [](const auto& Info) { return TestName(Info.param.Name); });

TEST(BmpSuiteGood, TableListsEveryFile) {
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(SuiteFolder + "g"),
                          std::filesystem::directory_iterator()),
            27);
}

// Files that store a plain file's picture in another header form, palette size, pixel
// offset, mask order or row order (Qt reads few of them).
struct TVariant {
  const char* Variant;
  const char* Plain;
};

class BmpSuiteVariant : public testing::TestWithParam<TVariant> {};

TEST_P(BmpSuiteVariant, DecodesLikeThePlainFile) {
  const auto Variant = LoadBmpFile(SuiteFolder + GetParam().Variant);
  const auto Plain = LoadBmpFile(SuiteFolder + GetParam().Plain);
  ASSERT_EQ(Variant->PixelFormat(), Plain->PixelFormat());
  ASSERT_EQ(Variant->Width(), Plain->Width());
  ASSERT_EQ(Variant->Height(), Plain->Height());
  for (int Y = 0; Y < Plain->Height(); ++Y)
    for (int X = 0; X < Plain->Width(); ++X)
      ASSERT_EQ(PixelOf(*Variant, X, Y), PixelOf(*Plain, X, Y)) << "at " << X << ", " << Y;
}

INSTANTIATE_TEST_SUITE_P(
    AllVariants, BmpSuiteVariant,
    testing::Values(
        // Core headers give the palette size only through the pixel offset.
        TVariant{"q/pal8os2sp.bmp", "g/pal8.bmp"}, TVariant{"q/pal8os2-hs.bmp", "g/pal8.bmp"},
        TVariant{"q/pal8os2-sz.bmp", "g/pal8.bmp"}, TVariant{"q/pal8os2v2.bmp", "g/pal8.bmp"},
        TVariant{"q/pal8os2v2-16.bmp", "g/pal8.bmp"}, TVariant{"q/pal8os2v2-sz.bmp", "g/pal8.bmp"},
        TVariant{"q/pal8os2v2-40sz.bmp", "g/pal8.bmp"}, TVariant{"q/pal8offs.bmp", "g/pal8.bmp"},
        // A count of colours beyond 256 reads the first 256.
        TVariant{"q/pal8oversizepal.bmp", "g/pal8.bmp"},
        TVariant{"b/badpalettesize.bmp", "g/pal8.bmp"}, TVariant{"b/badbitssize.bmp", "g/pal1.bmp"},
        TVariant{"b/rletopdown.bmp", "g/pal8topdown.bmp"},
        TVariant{"q/rgb16faketrns.bmp", "g/rgb16.bmp"},
        TVariant{"q/rgb24largepal.bmp", "g/rgb24.bmp"}, TVariant{"q/rgb24lprof.bmp", "g/rgb24.bmp"},
        TVariant{"q/rgb32h52.bmp", "g/rgb24.bmp"}, TVariant{"q/rgb32-xbgr.bmp", "g/rgb24.bmp"},
        TVariant{"q/rgb32fakealpha.bmp", "g/rgb24.bmp"},
        TVariant{"q/rgba32-2.bmp", "q/rgba32-1.bmp"}, TVariant{"q/rgba32h56.bmp", "q/rgba32-1.bmp"},
        TVariant{"q/rgba32abf.bmp", "q/rgba32-1.bmp"}),
    [](const auto& Info) { return TestName(Info.param.Variant); });

// Files whose header declares an alpha channel: black where Qt finds a pixel less than half
// opaque, Qt's colours elsewhere. (The other alpha files' variants match rgba32-1 above.)
class BmpSuiteAlpha : public testing::TestWithParam<const char*> {};

TEST_P(BmpSuiteAlpha, DecodesLikeQtWithTransparentPixelsBlack) {
  const std::string Path = SuiteFolder + GetParam();
  const auto Bitmap = LoadBmpFile(Path);
  const QImage Reference =
      QImage(QString::fromStdString(Path)).convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(Bitmap->Width(), Reference.width());
  int Transparent = 0;
  for (int Y = 0; Y < Reference.height(); ++Y)
    for (int X = 0; X < Reference.width(); ++X) {
      const QRgb Pixel = Reference.pixel(X, Y);
      Transparent += qAlpha(Pixel) < 128;
      ASSERT_EQ(PixelOf(*Bitmap, X, Y),
                qAlpha(Pixel) < 128 ? 0 : QtPixelAs(Bitmap->PixelFormat(), Pixel))
          << "at " << X << ", " << Y;
    }
  EXPECT_GT(Transparent, 0);
}

INSTANTIATE_TEST_SUITE_P(AlphaFiles, BmpSuiteAlpha,
                         testing::Values("q/rgba16-5551.bmp", "q/rgba32-1.bmp"),
                         [](const auto& Info) { return TestName(Info.param); });

std::vector<std::string> FilesIn(std::initializer_list<const char*> Folders) {
  std::vector<std::string> Files;
  for (const char* Folder : Folders)
    for (const auto& Entry : std::filesystem::directory_iterator(SuiteFolder + Folder))
      Files.push_back(Entry.path().string());
  std::sort(Files.begin(), Files.end());
  return Files;
}

class BmpSuiteDoubtful : public testing::TestWithParam<std::string> {};

TEST_P(BmpSuiteDoubtful, DecodesOrIsRefused) {
  try {
    const auto Bitmap = LoadBmpFile(GetParam());
    EXPECT_EQ(Bitmap->RawSize(), std::size_t(Bitmap->Width()) * std::size_t(Bitmap->Height()) *
                                     std::size_t(BytesPerPixel(Bitmap->PixelFormat())));
  } catch (const EBmpError&) {
  }
}

INSTANTIATE_TEST_SUITE_P(QuestionableBadAndOther, BmpSuiteDoubtful,
                         testing::ValuesIn(FilesIn({"q", "b", "x"})), [](const auto& Info) {
                           const auto Path = std::filesystem::path(Info.param);
                           return Path.parent_path().filename().string() + "_" +
                                  TestName(Info.param);
                         });

TEST(BmpSuiteBad, RefusesWhatCannotBeRead) {
  for (const char* Name :
       {"b/badbitcount.bmp", "b/badheadersize.bmp", "b/badplanes.bmp", "b/badwidth.bmp",
        "b/reallybig.bmp", "b/shortfile.bmp", "q/rgba64.bmp", "q/rgb24jpeg.bmp", "q/rgb24png.bmp",
        "q/pal1huffmsb.bmp", "q/rgb24rle24.bmp", "x/ba-bm.bmp"})
    EXPECT_THROW(LoadBmpFile(SuiteFolder + Name), EBmpError) << Name;
}

}  // namespace
