// PNG files as Import From, drops and pelbrook-tool read them: the black rule at the alpha
// threshold, and sizes refused before the decoder allocates anything.

#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt/unitQtImageFiles.h"
#include "sprites/unitBitmapRoutes.h"
#include "tests/support/PngFactory.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/TempDir.h"

namespace {

void WriteQBytes(const std::string& Path, const QByteArray& Bytes) {
  WriteBytes(Path, TBytes(Bytes.begin(), Bytes.end()));
}

TEST(QtImageFiles, APixelLessThanHalfOpaqueComesInBlackAndNoOtherPixelBecomesBlack) {
  TTempDir Dir;
  const QRgb Colours[] = {qRgba(200, 100, 50, 255), qRgba(200, 100, 50, 127),
                          qRgba(200, 100, 50, 128), qRgba(0, 0, 0, 255), qRgba(1, 1, 1, 255)};
  QImage Image(5, 1, QImage::Format_ARGB32);
  for (int X = 0; X < 5; ++X) Image.setPixel(X, 0, Colours[X]);
  WriteQBytes(Dir.File("pixels.png"), Encoded(Image, "PNG"));

  const TWords Words =
      SpriteWords(*SpriteFromImportedBitmap(*LoadImageFile(Dir.File("pixels.png"))));
  ASSERT_EQ(Words.size(), 5u);
  EXPECT_NE(Words[0], 0);
  EXPECT_EQ(Words[1], 0);
  EXPECT_EQ(Words[2], Words[0]);
  EXPECT_EQ(Words[3], 0);
  EXPECT_NE(Words[4], 0);  // near-black, reduced to 5-6-5, is still visible
}

TEST(QtImageFiles, APngThatCannotBecomeASpriteIsRefusedBeforeItsPixelsAreMade) {
  TTempDir Dir;
  const QByteArray Good = Encoded(QImage(2, 2, QImage::Format_RGB32), "PNG");
  const std::pair<QByteArray, const char*> Cases[] = {
      {PngClaiming(70000, 1), "too large"},
      {PngClaiming(16385, 16385), "too large"},
      {PngClaiming(4000, 4000), "too large for its data"},
      {Good.left(Good.size() / 2), "could not be read"},
  };
  for (const auto& [Bytes, Reason] : Cases) {
    WriteQBytes(Dir.File("bad.png"), Bytes);
    try {
      LoadImageFile(Dir.File("bad.png"));
      ADD_FAILURE() << "read: " << Reason;
    } catch (const std::exception& Error) {
      EXPECT_NE(std::string(Error.what()).find(Reason), std::string::npos) << Error.what();
    }
  }
}

// Found by the fuzzer: a GIF screen of 11308 x 11308 pixels in 123 bytes, which Qt's GIF decoder
// took 511 MB for.
TEST(QtImageFiles, ThePngReaderDecodesNothingButPng) {
  const QByteArray Gif = QByteArray::fromBase64(
      "R0lGODlhLCwsLCwsLCwsLAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA/////////x8AAAAA"
      "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAP////////////8f");
  EXPECT_THROW(
      ReadPng({reinterpret_cast<const std::uint8_t*>(Gif.constData()), std::size_t(Gif.size())}),
      ESpriteError);
}

}  // namespace
