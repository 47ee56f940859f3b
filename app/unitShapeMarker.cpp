#include "app/unitShapeMarker.h"

#include <QPainter>

TShapeMarker::TShapeMarker(QWidget* Parent) : QWidget(Parent) {
  setObjectName("ShapeMarker");
  hide();
}

void TShapeMarker::SetMarker(const TMarker& Marker) {
  // The outline runs over the box's edge pixels, both edges included.
  setGeometry(Marker.Left, Marker.Top, Marker.Width + 1, Marker.Height + 1);
}

void TShapeMarker::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  Painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  Painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
  Painter.setBrush(Qt::NoBrush);
  Painter.drawRect(0, 0, width() - 1, height() - 1);
}

void TShapeMarker::mousePressEvent(QMouseEvent*) {
  if (OnMouseDown) OnMouseDown();
}
