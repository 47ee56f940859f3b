#include "app/unitWorkingImageView.h"

#include <QMouseEvent>
#include <QPainter>

TWorkingImageView::TWorkingImageView(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TWorkingImageView::SetImage(const TBitmap* Image) {
  FImage = Image && Image->Width() > 0 && Image->Height() > 0
               ? QImage(Image->ScanLine(0), Image->Width(), Image->Height(), Image->Width() * 2,
                        QImage::Format_RGB16)
               : QImage();
  setFixedSize(FImage.size());
  update();
}

void TWorkingImageView::RepaintBox(const TCutBox& Box) {
  update(Area(Box));
}

QRect TWorkingImageView::Area(const TCutBox& Box) {
  return QRect(QPoint(Box.Left, Box.Top), QPoint(Box.Right, Box.Bottom));
}

void TWorkingImageView::paintEvent(QPaintEvent* Event) {
  ++FPaintCount;
  if (FImage.isNull()) return;
  QPainter Painter(this);
  Painter.drawImage(Event->rect(), FImage, Event->rect());
}

void TWorkingImageView::mousePressEvent(QMouseEvent* Event) {
  if (OnMouseDown) OnMouseDown(Event->button(), Event->pos().x(), Event->pos().y());
}

void TWorkingImageView::mouseReleaseEvent(QMouseEvent* Event) {
  if (OnMouseUp) OnMouseUp(Event->button(), Event->pos().x(), Event->pos().y());
}
