#include "app/unitProgressPanel.h"

#include <QPainter>
#include <QPalette>

namespace {

const QColor BarBlue(0, 0, 255);

QFont PanelFont() {
  QFont Font("Courier New", 8, QFont::Bold);
  // Few Linux systems have Courier New; any fixed-pitch face keeps the figures aligned.
  Font.setStyleHint(QFont::TypeWriter);
  Font.setFixedPitch(true);
  return Font;
}

}  // namespace

std::string ProgressPanelText(int Progress, std::size_t HeapBytes) {
  const std::string Heap = std::to_string(HeapBytes / 1024) + "K";
  if (Progress == -1) return Heap;
  return std::to_string(Progress) + "% " + Heap;
}

QImage PaintProgressPanel(QSize Size, int Progress, std::size_t HeapBytes,
                          const QPalette& Palette) {
  // Opaque 32-bit pixels are what the raster engine copies fastest.
  QImage Image(Size, QImage::Format_RGB32);
  Image.fill(Palette.color(QPalette::Button));
  QPainter Painter(&Image);
  if (Progress == -1) {
    // Qt's FDiag lines run down from left to right, like the Windows forward diagonal.
    Painter.fillRect(Image.rect(), QBrush(BarBlue, Qt::FDiagPattern));
  } else {
    Painter.fillRect(QRect(0, 0, Progress + 1, Size.height()), BarBlue);
  }
  Painter.setFont(PanelFont());
  Painter.setPen(Palette.color(QPalette::WindowText));
  Painter.drawText(Image.rect().adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(ProgressPanelText(Progress, HeapBytes)));
  return Image;
}

TProgressPanel::TProgressPanel(QWidget* Parent) : QWidget(Parent) {
  // Not marked opaque: Qt then leaves an opaque child out when its parent repaints, and the
  // status bar's repaint must redraw this panel.
  setFixedWidth(PanelWidth);
}

void TProgressPanel::paintEvent(QPaintEvent*) {
  ++FPaintCount;
  if (!OnDrawPanel) return;
  QPainter Canvas(this);
  OnDrawPanel(Canvas, rect());
}
