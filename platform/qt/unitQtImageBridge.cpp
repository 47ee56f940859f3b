#include "platform/qt/unitQtImageBridge.h"

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
