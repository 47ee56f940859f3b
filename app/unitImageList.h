#pragma once
// The pictures the list view shows: square images of one settable size, in the order they
// were added. Items refer to them by index, and an index may point at no image. The pixels of
// all images lie in one block, so tens of thousands of thumbnails cost one allocation and
// leave the heap unfragmented.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

class TBitmap;

class TImageList {
 public:
  int Size() const { return FSize; }
  // A change of size empties the list.
  void SetSize(int Size);
  void Clear() { FPixels.clear(); }
  // Room for Count images in all, so that adding them moves nothing.
  void Reserve(int Count) { FPixels.reserve(static_cast<std::size_t>(Count) * ImagePixels()); }
  int Count() const;
  // Keeps the top-left Size x Size part; a smaller bitmap is refused with
  // std::invalid_argument.
  void Add(const TBitmap& Bitmap);
  // The image over the list's own pixels, valid until the list next changes; a null image for
  // an index that points at no image.
  QImage Image(int Index) const;

 private:
  std::size_t ImagePixels() const { return static_cast<std::size_t>(FSize) * FSize; }

  int FSize = 25;
  // 5-6-5 words, image after image: thumbnails are stored through 5-6-5 anyway.
  std::vector<std::uint16_t> FPixels;
};
