// One picture, one set of colours, whichever way it comes in: from a file (Import From, drops,
// pelbrook-tool) or from the clipboard (Paste, Paste Over), each format through the same reader
// and the same alpha rule.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/unitQtClipboard.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitBmpCodec.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/PngFactory.h"

namespace {

// Four pixels in a row: alpha 0, 127, 128, 255 where the form has alpha.
struct TPicture {
  const char* Name;
  const char* MimeType;
  QByteArray Bytes;
  std::vector<TColour> Colours;
};

QByteArray AlphaPng() {
  QImage Image(4, 1, QImage::Format_ARGB32);
  int X = 0;
  for (const int Alpha : {0, 127, 128, 255}) Image.setPixel(X++, 0, qRgba(3, 2, 1, Alpha));
  return Encoded(Image, "PNG");
}

// White and a colour whose low green bit is set: words that a widening by shifts would change.
QByteArray Bmp565() {
  TBitmap Bitmap(TPixelFormat::pf16bit, 4, 1);
  const std::uint16_t Words[] = {0xFFFF, 0x0821, 0xF800, 0x001F};
  Bitmap.WriteRawBits(Words);
  return QBytes(EncodeBmp(Bitmap));
}

std::vector<TColour> ColoursOf(const TBitmap& Bitmap) {
  std::vector<TColour> Colours;
  for (int X = 0; X < Bitmap.Width(); ++X) Colours.push_back(Bitmap.GetPixel(X, 0));
  return Colours;
}

class PictureRoutes : public testing::TestWithParam<TPicture> {};

TEST_P(PictureRoutes, FileAndClipboardGiveTheSameColours) {
  TTempDir Dir;
  const std::string Path = Dir.File("picture");
  WriteBytes(Path, TBytes(GetParam().Bytes.begin(), GetParam().Bytes.end()));
  EXPECT_EQ(ColoursOf(*LoadImageFile(Path)), GetParam().Colours);

  auto* Data = new QMimeData;
  Data->setData(GetParam().MimeType, GetParam().Bytes);
  QGuiApplication::clipboard()->setMimeData(Data);
  EXPECT_EQ(ColoursOf(*ReadClipboardImage()), GetParam().Colours);
  QGuiApplication::clipboard()->clear();
}

const TColour Rgb321 = MakeColour(3, 2, 1);

INSTANTIATE_TEST_SUITE_P(
    , PictureRoutes,
    testing::Values(
        TPicture{"BmpWithAlpha",
                 "image/bmp",
                 QBytes(AlphaBmp(4, 1, {1, 2, 3, 0, 1, 2, 3, 127, 1, 2, 3, 128, 1, 2, 3, 255})),
                 {0, 0, Rgb321, Rgb321}},
        TPicture{"PngWithAlpha", "image/png", AlphaPng(), {0, 0, Rgb321, Rgb321}},
        TPicture{"Bmp565",
                 "image/bmp",
                 Bmp565(),
                 {0xFFFFFF, MakeColour(8, 4, 8), MakeColour(255, 0, 0), MakeColour(0, 0, 255)}}),
    [](const auto& Info) { return CaseName(Info.param.Name); });

}  // namespace
