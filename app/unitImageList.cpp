#include "app/unitImageList.h"

#include <QImage>
#include <cstring>
#include <stdexcept>

#include "platform/unitBitmap.h"

void TImageList::SetSize(int Size) {
  if (Size != FSize) FImages.clear();
  FSize = Size;
}

void TImageList::Add(const TBitmap& Bitmap) {
  if (Bitmap.Width() < FSize || Bitmap.Height() < FSize)
    throw std::invalid_argument("Invalid image size");
  const TBitmap* Source = &Bitmap;
  TBitmap Converted;
  if (Bitmap.PixelFormat() != TPixelFormat::pf24bit) {
    Converted = TBitmap(TPixelFormat::pf24bit, FSize, FSize);
    Converted.CopyRect(0, 0, Bitmap, 0, 0, FSize, FSize);
    Source = &Converted;
  }
  QImage Image(FSize, FSize, QImage::Format_BGR888);
  for (int Y = 0; Y < FSize; ++Y)
    std::memcpy(Image.scanLine(Y), Source->ScanLine(Y), static_cast<std::size_t>(FSize) * 3);
  FImages.push_back(QPixmap::fromImage(std::move(Image)));
}

const QPixmap* TImageList::Image(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return &FImages[static_cast<std::size_t>(Index)];
}
