#include "app/unitSpriteViewer.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/unitColour.h"

class TSpriteViewer::TCanvas : public QWidget {
 public:
  explicit TCanvas(TSpriteViewer& Viewer) : FViewer(Viewer) { setMouseTracking(true); }

 protected:
  // Only the part shown is painted: zoomed in, a large sprite is far wider than the screen.
  void paintEvent(QPaintEvent* Event) override {
    QPainter Painter(this);
    const QRect Area(QPoint(), size());
    const QRect Shown = Event->rect().intersected(Area);
    if (FViewer.Checkerboard()) {
      constexpr int Square = 8;
      for (int Y = Shown.top() / Square * Square; Y <= Shown.bottom(); Y += Square)
        for (int X = Shown.left() / Square * Square; X <= Shown.right(); X += Square)
          Painter.fillRect(QRect(X, Y, Square, Square).intersected(Area),
                           (X / Square + Y / Square) % 2 ? QColor(204, 204, 204) : Qt::white);
    } else {
      Painter.fillRect(Shown, Qt::black);
    }
    // Shrunk, neighbours blend; zoomed, each pixel stays a sharp square.
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, FViewer.FZoom < 1);
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
    if (Steps != 0)
      FViewer.SetZoom(SteppedZoom(FViewer.FZoom, Steps, FViewer.FittingZoom(), MaxZoom));
    Event->accept();
  }

 private:
  TSpriteViewer& FViewer;
};

double FittingZoom(QSize Sprite, QSize Room, int MaxZoom) {
  if (Sprite.isEmpty()) return MaxZoom;
  const double Fit =
      std::min(double(Room.width()) / Sprite.width(), double(Room.height()) / Sprite.height());
  return Fit < 1 ? Fit : std::min(std::floor(Fit), double(MaxZoom));
}

double SteppedZoom(double Zoom, int Steps, double Fit, int MaxZoom) {
  for (; Steps > 0; --Steps) Zoom = Zoom < 1 ? 1 : std::min(Zoom + 1, double(MaxZoom));
  for (; Steps < 0; ++Steps) Zoom = Zoom > 1 ? Zoom - 1 : std::min(Fit, 1.0);
  return Zoom;
}

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
  // Empty or not, the read-out takes one line: the window keeps its size.
  FReadOut->setMinimumHeight(fontMetrics().height());
  Layout->addWidget(FCheckerboard);
  Layout->addWidget(FScroller, 1);
  Layout->addWidget(FReadOut);

  ShowSprite(Index, Sprite);
  PlaceOnScreen(*Owner);
}

QSize TSpriteViewer::ChromeSize() const {
  const QMargins Margins = layout()->contentsMargins();
  const int Frames = 2 * FScroller->frameWidth();
  // A little slack, so that rounding in the layout never brings up the scroll bars.
  constexpr int Slack = 4;
  return {Margins.left() + Margins.right() + Frames + Slack,
          Margins.top() + Margins.bottom() + Frames + Slack + 2 * layout()->spacing() +
              FCheckerboard->sizeHint().height() +
              std::max(FReadOut->sizeHint().height(), FReadOut->minimumHeight())};
}

void TSpriteViewer::PlaceOnScreen(const QWidget& Owner) {
  const QRect Available = Owner.screen()->availableGeometry();
  // The window manager frames this window as it frames its owner.
  const QSize Frame = Owner.frameGeometry().size() - Owner.size();
  const QSize Inside = Available.size() - Frame;
  const QSize Chrome = ChromeSize();
  FRoom = (Inside - Chrome).expandedTo(QSize(1, 1));
  SetZoom(FittingZoom());
  constexpr int NarrowestWidth = 240;
  const QSize Size =
      (FCanvas->size() + Chrome).expandedTo(QSize(NarrowestWidth, 0)).boundedTo(Inside);
  resize(Size);
  QRect Outer(QPoint(), Size + Frame);
  Outer.moveCenter(Owner.frameGeometry().center());
  Outer.moveLeft(std::clamp(Outer.left(), Available.left(), Available.right() + 1 - Outer.width()));
  Outer.moveTop(std::clamp(Outer.top(), Available.top(), Available.bottom() + 1 - Outer.height()));
  move(Outer.topLeft());
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

double TSpriteViewer::FittingZoom() const {
  return ::FittingZoom(QSize(FWidth, FHeight), FRoom, MaxZoom);
}

void TSpriteViewer::SetZoom(double Zoom) {
  FZoom = std::clamp(Zoom, std::min(FittingZoom(), 1.0), double(MaxZoom));
  // Rounded down: a shrunk sprite stays within the room it was fitted to.
  const auto Side = [this](int Pixels) { return std::max(int(Pixels * FZoom), Pixels ? 1 : 0); };
  FCanvas->resize(Side(FWidth), Side(FHeight));
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
    SetZoom(SteppedZoom(FZoom, 1, FittingZoom(), MaxZoom));
  else if (Event->matches(QKeySequence::ZoomOut))
    SetZoom(SteppedZoom(FZoom, -1, FittingZoom(), MaxZoom));
  else if (Key == (Qt::ControlModifier | Qt::Key_0))
    SetZoom(FittingZoom());
  else if (Key == QKeyCombination(Qt::Key_Escape) || Key == (Qt::ControlModifier | Qt::Key_W))
    close();
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

// By the canvas's own size, which a shrunk sprite rounds: its last column is the sprite's last.
void TSpriteViewer::MouseAt(QPoint Point) {
  const auto Pixel = [](int At, int Pixels, int Side) {
    return At < 0 || Side == 0 ? -1 : int(std::int64_t(At) * Pixels / Side);
  };
  FReadOut->setText(PixelReadOut(Pixel(Point.x(), FWidth, FCanvas->width()),
                                 Pixel(Point.y(), FHeight, FCanvas->height())));
}

QWidget& TSpriteViewer::Canvas() const {
  return *FCanvas;
}
