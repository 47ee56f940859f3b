#include "app/unitSpriteViewer.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "platform/unitColour.h"

class TSpriteViewer::TCanvas : public QWidget {
 public:
  explicit TCanvas(TSpriteViewer& Viewer) : FViewer(Viewer) { setMouseTracking(true); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter Painter(this);
    const QRect Area(0, 0, FViewer.FWidth * FViewer.FZoom, FViewer.FHeight * FViewer.FZoom);
    if (FViewer.Checkerboard()) {
      constexpr int Square = 8;
      for (int Y = 0; Y < Area.height(); Y += Square)
        for (int X = 0; X < Area.width(); X += Square)
          Painter.fillRect(QRect(X, Y, Square, Square).intersected(Area),
                           (X / Square + Y / Square) % 2 ? QColor(204, 204, 204) : Qt::white);
    } else {
      Painter.fillRect(Area, Qt::black);
    }
    Painter.drawImage(Area, FViewer.FImage);
  }
  void mouseMoveEvent(QMouseEvent* Event) override { FViewer.MouseAt(Event->position().toPoint()); }
  void leaveEvent(QEvent*) override { FViewer.FReadOut->clear(); }
  void wheelEvent(QWheelEvent* Event) override {
    if (!(Event->modifiers() & Qt::ControlModifier)) {
      Event->ignore();
      return;
    }
    const int Steps = Event->angleDelta().y() / 120;
    if (Steps != 0) FViewer.SetZoom(FViewer.FZoom + Steps);
    Event->accept();
  }

 private:
  TSpriteViewer& FViewer;
};

TSpriteViewer::TSpriteViewer(QWidget* Owner, int Index, const TS16Sprite& Sprite)
    : QWidget(Owner, Qt::Window), FIndex(Index) {
  setAttribute(Qt::WA_DeleteOnClose);
  auto* Layout = new QVBoxLayout(this);
  FCheckerboard = new QCheckBox("Show black as &transparent", this);
  FCheckerboard->setChecked(true);
  connect(FCheckerboard, &QCheckBox::toggled, this, [this] { FCanvas->update(); });
  FCanvas = new TCanvas(*this);
  FScroller = new QScrollArea(this);
  FScroller->setWidget(FCanvas);
  FScroller->setAlignment(Qt::AlignCenter);
  FReadOut = new QLabel(this);
  FReadOut->setMinimumWidth(fontMetrics().horizontalAdvance("0000, 0000 - 0x0000 - #000000"));
  Layout->addWidget(FCheckerboard);
  Layout->addWidget(FScroller, 1);
  Layout->addWidget(FReadOut);

  ShowSprite(Index, Sprite);
  SetZoom(FittingZoom());
  const QSize Shown = FCanvas->size() + QSize(2, 2) * FScroller->frameWidth();
  resize(std::max(Shown.width() + 24, 240), Shown.height() + 80);
}

void TSpriteViewer::ShowSprite(int Index, const TS16Sprite& Sprite) {
  FIndex = Index;
  FWidth = Sprite.Width();
  FHeight = Sprite.Height();
  FWords.assign(Sprite.PixelData(), Sprite.PixelData() + Sprite.PixelCount());
  if (Sprite.Is555())
    for (std::uint16_t& Word : FWords) Word = Word555To565(Word);
  FImage = QImage(std::max(FWidth, 1), std::max(FHeight, 1), QImage::Format_ARGB32);
  FImage.fill(Qt::transparent);
  for (int Y = 0; Y < FHeight; ++Y)
    for (int X = 0; X < FWidth; ++X) {
      const std::uint16_t Word = FWords[std::size_t(Y) * FWidth + X];
      const TColour Colour = Word565ToColour(Word);
      if (Word != 0) FImage.setPixel(X, Y, qRgb(RedOf(Colour), GreenOf(Colour), BlueOf(Colour)));
    }
  setWindowTitle(QStringLiteral("Sprite %1 - %2 by %3").arg(Index).arg(FWidth).arg(FHeight));
  SetZoom(FZoom);
}

int TSpriteViewer::FittingZoom() const {
  const QSize Room = screen()->availableGeometry().size() * 3 / 4;
  int Zoom = MaxZoom;
  if (FWidth > 0) Zoom = std::min(Zoom, Room.width() / FWidth);
  if (FHeight > 0) Zoom = std::min(Zoom, Room.height() / FHeight);
  return std::max(Zoom, 1);
}

void TSpriteViewer::SetZoom(int Zoom) {
  FZoom = std::clamp(Zoom, 1, MaxZoom);
  FCanvas->resize(FWidth * FZoom, FHeight * FZoom);
  FCanvas->update();
}

bool TSpriteViewer::Checkerboard() const {
  return FCheckerboard->isChecked();
}

void TSpriteViewer::SetCheckerboard(bool On) {
  FCheckerboard->setChecked(On);
}

// Ctrl+= as well as Ctrl++: on most keyboards plus needs Shift.
void TSpriteViewer::keyPressEvent(QKeyEvent* Event) {
  const QKeyCombination Key = Event->keyCombination();
  if (Event->matches(QKeySequence::ZoomIn) || Key == (Qt::ControlModifier | Qt::Key_Equal))
    SetZoom(FZoom + 1);
  else if (Event->matches(QKeySequence::ZoomOut))
    SetZoom(FZoom - 1);
  else if (Key == (Qt::ControlModifier | Qt::Key_0))
    SetZoom(FittingZoom());
  else
    QWidget::keyPressEvent(Event);
}

QString TSpriteViewer::PixelReadOut(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return {};
  const std::uint16_t Word = FWords[std::size_t(Y) * FWidth + X];
  const TColour Colour = Word565ToColour(Word);
  return QStringLiteral("%1, %2 - 0x%3 - #%4%5%6")
      .arg(X)
      .arg(Y)
      .arg(Word, 4, 16, QChar('0'))
      .arg(RedOf(Colour), 2, 16, QChar('0'))
      .arg(GreenOf(Colour), 2, 16, QChar('0'))
      .arg(BlueOf(Colour), 2, 16, QChar('0'))
      .toUpper()
      .replace("0X", "0x");
}

QString TSpriteViewer::ReadOut() const {
  return FReadOut->text();
}

void TSpriteViewer::MouseAt(QPoint Point) {
  FReadOut->setText(PixelReadOut(Point.x() / FZoom, Point.y() / FZoom));
}

QWidget& TSpriteViewer::Canvas() const {
  return *FCanvas;
}
