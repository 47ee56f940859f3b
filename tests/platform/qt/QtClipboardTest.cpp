// The clipboard as other desktop programs see it: what Copy offers and in which order, which
// offered form Paste reads, and the forms it must refuse without decoding them.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <random>
#include <stdexcept>

#include "platform/qt/unitQtClipboard.h"
#include "platform/unitBmpCodec.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/PngFactory.h"

namespace {

void Offer(std::initializer_list<std::pair<const char*, QByteArray>> Forms) {
  auto* Data = new QMimeData;
  for (const auto& [Type, Bytes] : Forms) Data->setData(Type, Bytes);
  QGuiApplication::clipboard()->setMimeData(Data);
}

QImage Filled(QImage::Format Format, QRgb Colour) {
  QImage Image(3, 2, Format);
  Image.fill(Colour);
  return Image;
}

TEST(QtClipboard, CopyOffersPngWithTransparentBlackThenAnOpaqueBmpAndQtsImageToItselfInOneWrite) {
  TBitmap Bitmap(TPixelFormat::pf16bit, 2, 1);
  Bitmap.SetPixel(1, 0, 0x0000FF);
  int Changes = 0;
  const auto Connection =
      QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] { ++Changes; });
  PutBitmapOnClipboard(Bitmap);
  QObject::disconnect(Connection);
  EXPECT_EQ(Changes, 1);

  // Qt's image among the named forms would make Qt offer the desktop every form it writes.
  const QMimeData& Data = *QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(Data.formats(), (QStringList{"image/png", "image/bmp"}));
  EXPECT_TRUE(Data.hasImage());
  EXPECT_EQ(qvariant_cast<QImage>(Data.imageData()).pixel(1, 0), qRgba(255, 0, 0, 255));
  const QImage Png = QImage::fromData(Data.data("image/png"), "PNG");
  EXPECT_EQ(Png.pixel(0, 0), qRgba(0, 0, 0, 0));
  EXPECT_EQ(Png.pixel(1, 0), qRgba(255, 0, 0, 255));
  const QByteArray Bmp = Data.data("image/bmp");
  const auto Opaque =
      ReadBmp({reinterpret_cast<const std::uint8_t*>(Bmp.constData()), std::size_t(Bmp.size())});
  EXPECT_EQ(Opaque->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(Opaque->GetPixel(0, 0), 0u);
  EXPECT_EQ(Opaque->GetPixel(1, 0), 0x0000FFu);
  EXPECT_FALSE(ClipboardOffersPalette());
}

// This process reads its own copy from the picture, not from bytes encoded for others.
class QtClipboardOwnCopy : public testing::TestWithParam<TPixelFormat> {};

TEST_P(QtClipboardOwnCopy, PastesAsThePngAnotherProgramReceivesWould) {
  std::mt19937 Random(11);
  TBitmap Bitmap = RandomBitmap(GetParam(), 7, 5, Random);
  Bitmap.SetPixel(0, 0, 0);
  PutBitmapOnClipboard(Bitmap);
  const auto Own = ReadClipboardImage();
  const bool OwnPalette = ClipboardOffersPalette();
  Offer({{"image/png", QGuiApplication::clipboard()->mimeData()->data("image/png")}});
  const auto Received = ReadClipboardImage();
  EXPECT_EQ(Own->PixelFormat(), Received->PixelFormat());
  EXPECT_EQ(RawBits(*Own), RawBits(*Received));
  EXPECT_EQ(OwnPalette, ClipboardOffersPalette());
  EXPECT_EQ(Own->GetPixel(0, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(, QtClipboardOwnCopy, AllFormats,
                         [](const auto& Info) { return CaseName(Info.param); });

TEST(QtClipboard, CopyOfASpriteWithoutPixelsEmptiesTheClipboard) {
  PutBitmapOnClipboard(TBitmap(TPixelFormat::pf16bit, 2, 1));
  PutBitmapOnClipboard(TBitmap(TPixelFormat::pf16bit, 0, 5));
  EXPECT_FALSE(ClipboardOffersImage());
}

struct TOffered {
  std::string Name;
  std::vector<std::pair<const char*, QByteArray>> Forms;
  bool Palette;
  TColour Expected;  // at (0, 0)
};

std::string OfferedName(const testing::TestParamInfo<TOffered>& Info) {
  return Info.param.Name;
}

QImage IndexedMagenta() {
  QImage Image(3, 2, QImage::Format_Indexed8);
  Image.setColorTable({qRgb(0, 0, 0), qRgb(255, 0, 255)});
  Image.fill(1);
  return Image;
}

class QtClipboardReads : public testing::TestWithParam<TOffered> {};

TEST_P(QtClipboardReads, TheFirstFormThatReadsInItsOwnColours) {
  auto* Data = new QMimeData;
  for (const auto& [Type, Bytes] : GetParam().Forms) Data->setData(Type, Bytes);
  QGuiApplication::clipboard()->setMimeData(Data);
  EXPECT_TRUE(ClipboardOffersImage());
  EXPECT_EQ(ClipboardOffersPalette(), GetParam().Palette);
  const auto Bitmap = ReadClipboardImage();
  EXPECT_EQ(Bitmap->Width(), 3);
  EXPECT_EQ(Bitmap->GetPixel(0, 0), GetParam().Expected);
}

const QByteArray Garbage("\x89PNG garbage that is no picture");
INSTANTIATE_TEST_SUITE_P(
    , QtClipboardReads,
    testing::Values(
        TOffered{"PngBeforeBmp",
                 {{"image/bmp", Encoded(Filled(QImage::Format_RGB32, qRgb(0, 0, 255)), "BMP")},
                  {"image/png", Encoded(Filled(QImage::Format_RGB32, qRgb(255, 0, 0)), "PNG")}},
                 false,
                 0x0000FF},
        TOffered{"BmpWhenThePngIsGarbage",
                 {{"image/png", Garbage},
                  {"image/bmp", Encoded(Filled(QImage::Format_RGB32, qRgb(0, 0, 255)), "BMP")}},
                 false,
                 0xFF0000},
        TOffered{"BmpWhenThePngClaims2GbUnderAnyName",
                 {{"image/png", QBytes(TextClaiming2Gb())},
                  {"image/x-other", QBytes(TextClaiming2Gb())},
                  {"image/bmp", Encoded(Filled(QImage::Format_RGB32, qRgb(0, 0, 255)), "BMP")}},
                 false,
                 0xFF0000},
        TOffered{"AnyOtherImageForm",
                 {{"image/x-portable-pixmap",
                   Encoded(Filled(QImage::Format_RGB32, qRgb(1, 2, 3)), "PPM")}},
                 false,
                 0x030201},
        TOffered{
            "LessThanHalfOpaqueIsBlack",
            {{"image/png", Encoded(Filled(QImage::Format_ARGB32, qRgba(9, 9, 9, 127)), "PNG")}},
            false,
            0},
        TOffered{
            "HalfOpaqueKeepsItsColour",
            {{"image/png", Encoded(Filled(QImage::Format_ARGB32, qRgba(9, 9, 9, 128)), "PNG")}},
            false,
            0x090909},
        TOffered{"IndexedPng", {{"image/png", Encoded(IndexedMagenta(), "PNG")}}, true, 0xFF00FF},
        TOffered{"EightBitBmp", {{"image/bmp", Encoded(IndexedMagenta(), "BMP")}}, true, 0xFF00FF}),
    OfferedName);

TEST(QtClipboard, RefusesWhatIsNoImageOrTooLargeBeforeDecodingIt) {
  Offer({{"text/plain", "a picture"}});
  EXPECT_FALSE(ClipboardOffersImage());
  // The names alone tell whether an image is offered; only reading it finds it garbage.
  Offer({{"text/plain", "a picture"}, {"image/png", Garbage}});
  EXPECT_TRUE(ClipboardOffersImage());
  EXPECT_THROW(ReadClipboardImage(), std::runtime_error);

  for (const auto& [Width, Height] : {std::pair{70000u, 1u}, std::pair{16385u, 16385u}}) {
    Offer({{"image/png", PngClaiming(Width, Height)}});
    EXPECT_TRUE(ClipboardOffersImage());
    try {
      ReadClipboardImage();
      ADD_FAILURE() << Width << " by " << Height << " was read";
    } catch (const std::runtime_error& Error) {
      EXPECT_NE(std::string(Error.what()).find("too large"), std::string::npos) << Error.what();
    }
  }
  QGuiApplication::clipboard()->clear();
}

}  // namespace
