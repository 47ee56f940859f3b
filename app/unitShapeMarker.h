#pragma once
// The manual cutter's marker: a dotted rectangle over the working image that inverts what lies
// under it, so it shows on any colour. It lies above the image, so a press inside it is the
// marker's, not the image's.

#include <QWidget>
#include <functional>

#include "imaging/unitSheetScanner.h"

class TShapeMarker : public QWidget {
  Q_OBJECT

 public:
  explicit TShapeMarker(QWidget* Parent);

  // Width and Height as the marker has them: a one-pixel box is 0 x 0.
  void SetMarker(const TMarker& Marker);

  std::function<void()> OnMouseDown;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
};
