#include "platform/qt/unitQtImageBridge.h"

#include <QBuffer>
#include <algorithm>
#include <string>

#include "sprites/unitBitmapRoutes.h"

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

QByteArray EncodePng(const QImage& Image) {
  // A new image takes the resolution of the screen, if there is one: the file states a fixed
  // one instead, 72 dpi as in the BMP files, so the bytes never depend on the display.
  QImage Fixed = Image;
  Fixed.setDotsPerMeterX(2835);
  Fixed.setDotsPerMeterY(2835);
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  if (!Fixed.save(&Buffer, "PNG")) throw ESpriteError("The image could not be made into a PNG");
  return Bytes;
}
