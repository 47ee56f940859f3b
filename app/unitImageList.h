#pragma once
// The pictures the list view shows: square images of one settable size, in the order they
// were added. Items refer to them by index, and an index may point at no image.

#include <QPixmap>
#include <vector>

class TBitmap;

class TImageList {
 public:
  int Size() const { return FSize; }
  // A change of size empties the list.
  void SetSize(int Size);
  void Clear() { FImages.clear(); }
  int Count() const { return static_cast<int>(FImages.size()); }
  // Keeps the top-left Size x Size part; a smaller bitmap is refused with
  // std::invalid_argument.
  void Add(const TBitmap& Bitmap);
  // Null for an index that points at no image.
  const QPixmap* Image(int Index) const;

 private:
  int FSize = 25;
  std::vector<QPixmap> FImages;
};
