#include "platform/qt/unitQtImageBridge.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <string>

#include "platform/unitPixelRows.h"
#include "sprites/unitBitmapRoutes.h"

namespace {

// Qt's quality for PNG runs from 0 (deflate level 9) to 100 (level 0).
constexpr int PngQuality = 50;

}  // namespace

QImage ImageOfBitmap(const TBitmap& Bitmap) {
  QImage Image(Bitmap.Width(), Bitmap.Height(), QImage::Format_ARGB32);
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    auto* Line = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    for (int X = 0; X < Bitmap.Width(); ++X) {
      const TColour Colour = Bitmap.GetPixel(X, Y);
      Line[X] =
          Colour == 0 ? qRgba(0, 0, 0, 0) : qRgb(RedOf(Colour), GreenOf(Colour), BlueOf(Colour));
    }
  }
  return Image;
}

std::unique_ptr<TBitmap> BitmapOfImage(const QImage& Image) {
  CheckImageSize(Image.width(), Image.height(), "The image");
  const QImage Straight = Image.convertToFormat(QImage::Format_ARGB32);
  auto Bitmap = std::make_unique<TBitmap>(TPixelFormat::pf24bit, Image.width(), Image.height());
  for (int Y = 0; Y < Straight.height(); ++Y) {
    const auto* Line = reinterpret_cast<const QRgb*>(Straight.constScanLine(Y));
    std::uint8_t* Pixel = Bitmap->ScanLine(Y);
    for (int X = 0; X < Straight.width(); ++X, Pixel += 3) {
      const QRgb Rgb = qAlpha(Line[X]) < 128 ? 0 : Line[X];
      Pixel[0] = std::uint8_t(qBlue(Rgb));
      Pixel[1] = std::uint8_t(qGreen(Rgb));
      Pixel[2] = std::uint8_t(qRed(Rgb));
    }
  }
  return Bitmap;
}

QImage ImageOfSprite(const TS16Sprite& Sprite) {
  QImage Image(Sprite.Width(), Sprite.Height(), QImage::Format_ARGB32);
  const auto* Words = reinterpret_cast<const std::uint8_t*>(Sprite.PixelData());
  // Taken once: the threads must not each ask the image to detach.
  std::uint8_t* Pixels = Image.bits();
  const auto Stride = std::size_t(Image.bytesPerLine());
  ForEachRowBand(Image.height(), std::size_t(Image.width()), [&](int First, int Last) {
    for (int Y = First; Y < Last; ++Y)
      ArgbRowOf565(Words + 2 * std::size_t(Y) * Sprite.Width(), Pixels + Stride * std::size_t(Y),
                   Image.width());
  });
  return Image;
}

std::unique_ptr<TS16Sprite> SpriteOfImage(const QImage& Image) {
  CheckImageSize(Image.width(), Image.height(), "The image");
  // Opaque 32-bit images read as they are; others as Qt converts them to straight alpha.
  const bool Direct =
      Image.format() == QImage::Format_RGB32 || Image.format() == QImage::Format_ARGB32;
  const QImage Straight = Direct ? Image : Image.convertToFormat(QImage::Format_ARGB32);
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetHeight(std::uint16_t(Straight.height()));
  Sprite->SetWidth(std::uint16_t(Straight.width()));
  auto* Words = reinterpret_cast<std::uint8_t*>(Sprite->PixelData());
  const std::uint8_t* Pixels = Straight.constBits();
  const auto Stride = std::size_t(Straight.bytesPerLine());
  ForEachRowBand(Straight.height(), std::size_t(Straight.width()), [&](int First, int Last) {
    for (int Y = First; Y < Last; ++Y)
      NarrowBgraRow(Pixels + Stride * std::size_t(Y), Words + 2 * std::size_t(Y) * Sprite->Width(),
                    Straight.width());
  });
  return Sprite;
}

QImage ReadImageWithinLimits(QImageReader& Reader, const char* What) {
  const QSize Size = Reader.size();
  if (Size.isValid()) CheckImageSize(Size.width(), Size.height(), What);
  const int QtLimit = QImageReader::allocationLimit();
  if (Size.isValid()) QImageReader::setAllocationLimit(std::max(QtLimit, 2048));
  QImage Image = Reader.read();
  QImageReader::setAllocationLimit(QtLimit);
  if (Image.isNull())
    throw ESpriteError(std::string(What) +
                       " could not be read: " + Reader.errorString().toStdString());
  return Image;
}

QByteArray EncodePng(QImage Image) {
  // A new image takes the resolution of the screen, if there is one: the file states a fixed
  // one instead, 72 dpi as in the BMP files, so the bytes never depend on the display.
  Image.setDotsPerMeterX(2835);
  Image.setDotsPerMeterY(2835);
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  QImageWriter Writer(&Buffer, "png");
  Writer.setQuality(PngQuality);
  if (!Writer.write(Image)) throw ESpriteError("The image could not be made into a PNG");
  return Bytes;
}
