#include "app/unitImageList.h"

#include <cstring>
#include <stdexcept>

#include "platform/unitBitmap.h"

void TImageList::SetSize(int Size) {
  if (Size != FSize) FPixels.clear();
  FSize = Size;
}

int TImageList::Count() const {
  return static_cast<int>(FPixels.size() / ImagePixels());
}

void TImageList::Add(const TBitmap& Bitmap) {
  if (Bitmap.Width() < FSize || Bitmap.Height() < FSize)
    throw std::invalid_argument("Invalid image size");
  const std::size_t First = FPixels.size();
  FPixels.resize(First + ImagePixels());
  std::uint16_t* Words = FPixels.data() + First;
  if (Bitmap.PixelFormat() == TPixelFormat::pf16bit) {
    for (int Y = 0; Y < FSize; ++Y, Words += FSize)
      std::memcpy(Words, Bitmap.ScanLine(Y), static_cast<std::size_t>(FSize) * 2);
    return;
  }
  TBitmap Square(TPixelFormat::pf16bit, FSize, FSize);
  Square.CopyRect(0, 0, Bitmap, 0, 0, FSize, FSize);
  Square.ReadRawBits(Words);
}

QImage TImageList::Image(int Index) const {
  if (Index < 0 || Index >= Count()) return {};
  const std::uint16_t* First = FPixels.data() + static_cast<std::size_t>(Index) * ImagePixels();
  return QImage(reinterpret_cast<const uchar*>(First), FSize, FSize, FSize * 2,
                QImage::Format_RGB16);
}
