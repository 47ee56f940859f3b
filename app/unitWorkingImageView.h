#pragma once
// A cutter's working image at 1:1, drawn straight from the bitmap's 5-6-5 words: the image
// changes in place as sprites are cut out of it, and only a cut box needs repainting.

#include <QImage>
#include <QWidget>
#include <functional>

#include "imaging/unitSheetScanner.h"

class QMouseEvent;

class TWorkingImageView : public QWidget {
  Q_OBJECT

 public:
  explicit TWorkingImageView(QWidget* Parent = nullptr);

  // Shows Image, a 16-bit bitmap, until it is replaced; null shows nothing. The view sizes
  // itself to the picture.
  void SetImage(const TBitmap* Image);
  void RepaintBox(const TCutBox& Box);
  // Where Box lies on the view.
  static QRect Area(const TCutBox& Box);

  int PaintCount() const { return FPaintCount; }

  // Presses and releases, with the point in image coordinates.
  std::function<void(Qt::MouseButton, int, int)> OnMouseDown;
  std::function<void(Qt::MouseButton, int, int)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  QImage FImage;  // over the bitmap's own words
  int FPaintCount = 0;
};
