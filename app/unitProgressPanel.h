#pragma once
// Panel 0 of the status bar: the progress bar, or the idle hatch, with the heap figure.
// The picture is composed off-screen so that the panel is copied in one step.

#include <QImage>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <string>

class QPalette;

// Progress is -1 when idle, else the percentage done.
std::string ProgressPanelText(int Progress, std::size_t HeapBytes);
QImage PaintProgressPanel(QSize Size, int Progress, std::size_t HeapBytes, const QPalette& Palette);

// Holds no state of its own: whoever owns the progress paints it through OnDrawPanel.
class TProgressPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int PanelWidth = 100;

  explicit TProgressPanel(QWidget* Parent = nullptr);

  std::function<void(QPainter& Canvas, const QRect& Rect)> OnDrawPanel;
  int PaintCount() const { return FPaintCount; }

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  int FPaintCount = 0;
};
