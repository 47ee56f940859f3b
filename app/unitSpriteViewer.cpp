#include "app/unitSpriteViewer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/qt/unitQtImageBridge.h"
#include "platform/unitColour.h"

namespace {

constexpr double OnionOpacity = 0.3;

}  // namespace

class TSpriteViewer::TCanvas : public QWidget {
 public:
  explicit TCanvas(TSpriteViewer& Viewer) : FViewer(Viewer) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
  }

  // The canvas pixels a frame of Size at Offset in the box covers, rounded as the canvas is.
  QRect FrameArea(QPoint Offset, QSize Size) const {
    const auto Scaled = [this](int Pixels) {
      return std::max(int(Pixels * FViewer.FZoom), Pixels ? 1 : 0);
    };
    const QPoint TopLeft(Scaled(Offset.x()), Scaled(Offset.y()));
    return {TopLeft, QPoint(Scaled(Offset.x() + Size.width()), Scaled(Offset.y() + Size.height())) -
                         QPoint(1, 1)};
  }

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
    const auto Draw = [&](const QImage& Image) {
      const QPoint Offset = FrameOffset(FViewer.FAlignment, Image.size(), FViewer.FBox);
      Painter.drawImage(FrameArea(Offset, Image.size()), Image);
    };
    if (!FViewer.FOnion.isNull()) {
      Painter.setOpacity(OnionOpacity);
      Draw(FViewer.FOnion);
      Painter.setOpacity(1);
    }
    if (!FViewer.FShown.isNull()) Draw(FViewer.FShown);
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

TSpriteViewer::TSpriteViewer(QWidget* Owner, const std::unique_ptr<TS16File>& Document, int Index)
    : QWidget(Owner, Qt::Window), FDocument(Document), FRun{Index} {
  setAttribute(Qt::WA_DeleteOnClose);
  auto* Layout = new QVBoxLayout(this);
  FCheckerboard = new QCheckBox("Show black as &transparent", this);
  FCheckerboard->setChecked(true);
  connect(FCheckerboard, &QCheckBox::toggled, this, [this] { FCanvas->update(); });
  FControls = MakePlaybackControls();
  FCanvas = new TCanvas(*this);
  FScroller = new QScrollArea(this);
  FScroller->setWidget(FCanvas);
  FScroller->setAlignment(Qt::AlignCenter);
  FReadOut = new QLabel(this);
  FReadOut->setMinimumWidth(fontMetrics().horizontalAdvance("0000, 0000 - 0x0000 - #000000"));
  // Empty or not, the read-out takes one line: the window keeps its size.
  FReadOut->setMinimumHeight(fontMetrics().height());
  Layout->addWidget(FCheckerboard);
  Layout->addWidget(FControls);
  Layout->addWidget(FScroller, 1);
  Layout->addWidget(FReadOut);

  // Whichever control has the focus, but a field being typed in.
  const auto AddKey = [this](Qt::Key Key, auto Command) {
    auto* Action = new QAction(this);
    Action->setShortcut(Key);
    Action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(Action, &QAction::triggered, this, Command);
    addAction(Action);
  };
  AddKey(Qt::Key_Space, [this] { SetPlaying(!Playing()); });
  AddKey(Qt::Key_Left, [this] { StepFrame(-1); });
  AddKey(Qt::Key_Right, [this] { StepFrame(1); });

  RunChanged();
  PlaceOnScreen(*Owner);
}

TSpriteViewer::~TSpriteViewer() {
  // Going, the window hides its fields, and a field that loses the focus says its editing
  // finished: that must not reach a viewer half destroyed.
  for (QSpinBox* Field : {FFollowing, FRate}) Field->disconnect(this);
}

QWidget* TSpriteViewer::MakePlaybackControls() {
  auto* Controls = new QWidget(this);
  auto* Rows = new QVBoxLayout(Controls);
  Rows->setContentsMargins(0, 0, 0, 0);
  auto* Timing = new QHBoxLayout;
  auto* Arrangement = new QHBoxLayout;
  Rows->addLayout(Timing);
  Rows->addLayout(Arrangement);

  FPlay = new QPushButton("Play", Controls);
  connect(FPlay, &QPushButton::clicked, this, [this] { SetPlaying(!Playing()); });
  FFollowing = new QSpinBox(Controls);
  FFollowing->setToolTip("How many sprites after this one play as its frames");
  connect(FFollowing, &QSpinBox::valueChanged, this, &TSpriteViewer::SetFollowing);
  FTimer = new QTimer(this);
  FTimer->setTimerType(Qt::PreciseTimer);
  FTimer->setInterval(1000 / DefaultFramesPerSecond);
  connect(FTimer, &QTimer::timeout, this, &TSpriteViewer::AdvanceFrame);
  FRate = new QSpinBox(Controls);
  FRate->setRange(1, 60);
  FRate->setValue(DefaultFramesPerSecond);
  connect(FRate, &QSpinBox::valueChanged, this, &TSpriteViewer::SetFramesPerSecond);
  const auto Labelled = [Controls](const char* Text, QWidget* Field) {
    auto* Label = new QLabel(Text, Controls);
    Label->setBuddy(Field);
    return Label;
  };
  // A number typed and entered, Space plays again: the keys go back to the picture.
  for (QSpinBox* Field : {FFollowing, FRate}) {
    connect(Field, &QSpinBox::editingFinished, this, [this] { FCanvas->setFocus(); });
    Field->installEventFilter(this);
  }
  Timing->addWidget(FPlay);
  Timing->addWidget(Labelled("&Next sprites:", FFollowing));
  Timing->addWidget(FFollowing);
  Timing->addWidget(Labelled("&Frames a second:", FRate));
  Timing->addWidget(FRate);
  Timing->addStretch(1);

  FModeChoice = new QComboBox(Controls);
  FModeChoice->addItems({"Loop", "Ping-pong"});
  connect(FModeChoice, &QComboBox::currentIndexChanged, this,
          [this](int Choice) { SetMode(TPlayMode(Choice)); });
  FAlignmentChoice = new QComboBox(Controls);
  FAlignmentChoice->addItems({"Top-left", "Centre", "Bottom centre"});
  FAlignmentChoice->setToolTip("Where frames smaller than the largest stand");
  connect(FAlignmentChoice, &QComboBox::currentIndexChanged, this,
          [this](int Choice) { SetAlignment(TFrameAlignment(Choice)); });
  FOnionSkin = new QCheckBox("&Onion skin", Controls);
  FOnionSkin->setToolTip("The previous frame faintly beneath this one");
  connect(FOnionSkin, &QCheckBox::toggled, this, &TSpriteViewer::SetOnionSkin);
  FPosition = new QLabel(Controls);
  Arrangement->addWidget(FModeChoice);
  Arrangement->addWidget(FAlignmentChoice);
  Arrangement->addWidget(FOnionSkin);
  Arrangement->addStretch(1);
  Arrangement->addWidget(FPosition);
  return Controls;
}

const TS16Sprite* TSpriteViewer::SpriteAt(int Index) const {
  return Index < FDocument->Count() ? &FDocument->GetSprite(Index) : nullptr;
}

bool TSpriteViewer::FollowChange(const TDocumentChange& Change) {
  const int Count = FDocument->Count();
  const int Viewed = IndexAfter(Change, Index());
  if (Viewed < 0 || Viewed >= Count) return false;
  const int WasShown = IndexAfter(Change, ShownIndex());
  std::vector<int> Kept{Viewed};
  for (std::size_t Frame = 1; Frame < FRun.size(); ++Frame) {
    const bool Moved = Change.Kind == TDocumentChange::TKind::Moved && FRun[Frame] == Change.Index;
    const int Now = IndexAfter(Change, FRun[Frame]);
    if (!Moved && Now >= 0 && Now < Count) Kept.push_back(Now);
  }
  FRun = std::move(Kept);
  FPlayer.SetFrameCount(int(FRun.size()));
  const auto Shown = std::find(FRun.begin(), FRun.end(), WasShown);
  if (Shown != FRun.end() && Shown - FRun.begin() != FPlayer.Frame())
    FPlayer.ShowFrame(int(Shown - FRun.begin()));
  RunChanged();
  return true;
}

void TSpriteViewer::SetFollowing(int Count) {
  const int Last = std::min(Index() + std::max(Count, 0), FDocument->Count() - 1);
  FRun.resize(1);
  for (int Sprite = Index() + 1; Sprite <= Last; ++Sprite) FRun.push_back(Sprite);
  RunChanged();
}

void TSpriteViewer::RunChanged() {
  FBox = QSize(0, 0);
  for (int Sprite : FRun)
    if (const TS16Sprite* Frame = SpriteAt(Sprite))
      FBox = FBox.expandedTo(QSize(Frame->Width(), Frame->Height()));
  FPlayer.SetFrameCount(int(FRun.size()));
  {
    const QSignalBlocker Quiet(FFollowing);
    FFollowing->setMaximum(std::max(FDocument->Count() - 1 - Index(), 0));
    FFollowing->setValue(int(FRun.size()) - 1);
  }
  if (FRun.size() == 1) SetPlaying(false);
  FPlay->setEnabled(FRun.size() > 1);
  ShowFrame();
  SetZoom(FZoom);
}

void TSpriteViewer::ShowFrame() {
  const TS16Sprite* Shown = SpriteAt(ShownIndex());
  const TS16Sprite* Previous = SpriteAt(FRun[FPlayer.PreviousFrame()]);
  if (!Shown || !Previous) return;
  FShown = ImageOfSprite(*Shown);
  FOnion = FOnionSkin->isChecked() && Previous != Shown ? ImageOfSprite(*Previous) : QImage();
  setWindowTitle(QStringLiteral("Sprite %1 - %2 by %3")
                     .arg(ShownIndex())
                     .arg(Shown->Width())
                     .arg(Shown->Height()));
  FPosition->setText(QStringLiteral("Frame %1 of %2").arg(FPlayer.Frame() + 1).arg(FRun.size()));
  // A mouse held still reads the new frame.
  if (FCanvas->underMouse()) MouseAt(FCanvas->mapFromGlobal(QCursor::pos()));
  FCanvas->update();
}

QPoint TSpriteViewer::ShownOffset() const {
  return FrameOffset(FAlignment, FShown.size(), FBox);
}

void TSpriteViewer::SetFramesPerSecond(int Rate) {
  FRate->setValue(Rate);
  FTimer->setInterval(1000 / FRate->value());
}

void TSpriteViewer::SetMode(TPlayMode Mode) {
  FModeChoice->setCurrentIndex(int(Mode));
  FPlayer.SetMode(Mode);
  ShowFrame();
}

void TSpriteViewer::SetAlignment(TFrameAlignment Alignment) {
  FAlignmentChoice->setCurrentIndex(int(Alignment));
  FAlignment = Alignment;
  FCanvas->update();
}

void TSpriteViewer::SetOnionSkin(bool On) {
  FOnionSkin->setChecked(On);
  ShowFrame();
}

bool TSpriteViewer::Playing() const {
  return FTimer->isActive();
}

void TSpriteViewer::SetPlaying(bool On) {
  if (On && FRun.size() > 1)
    FTimer->start();
  else
    FTimer->stop();
  FPlay->setText(Playing() ? "Pause" : "Play");
}

void TSpriteViewer::AdvanceFrame() {
  FPlayer.Step(1);
  ShowFrame();
}

void TSpriteViewer::StepFrame(int Steps) {
  SetPlaying(false);
  FPlayer.Step(Steps);
  ShowFrame();
}

void TSpriteViewer::hideEvent(QHideEvent* Event) {
  SetPlaying(false);
  QWidget::hideEvent(Event);
}

QSize TSpriteViewer::ChromeSize() const {
  const QMargins Margins = layout()->contentsMargins();
  const int Frames = 2 * FScroller->frameWidth();
  // A little slack, so that rounding in the layout never brings up the scroll bars.
  constexpr int Slack = 4;
  return {Margins.left() + Margins.right() + Frames + Slack,
          Margins.top() + Margins.bottom() + Frames + Slack + 3 * layout()->spacing() +
              FCheckerboard->sizeHint().height() + FControls->sizeHint().height() +
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
  const int NarrowestWidth = layout()->minimumSize().width();
  const QSize Size =
      (FCanvas->size() + Chrome).expandedTo(QSize(NarrowestWidth, 0)).boundedTo(Inside);
  resize(Size);
  QRect Outer(QPoint(), Size + Frame);
  Outer.moveCenter(Owner.frameGeometry().center());
  Outer.moveLeft(std::clamp(Outer.left(), Available.left(), Available.right() + 1 - Outer.width()));
  Outer.moveTop(std::clamp(Outer.top(), Available.top(), Available.bottom() + 1 - Outer.height()));
  move(Outer.topLeft());
}

double TSpriteViewer::FittingZoom() const {
  return ::FittingZoom(FBox, FRoom, MaxZoom);
}

void TSpriteViewer::SetZoom(double Zoom) {
  FZoom = std::clamp(Zoom, std::min(FittingZoom(), 1.0), double(MaxZoom));
  // Rounded down: a shrunk sprite stays within the room it was fitted to.
  FCanvas->resize(FCanvas->FrameArea(QPoint(), FBox).size());
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

// A space means nothing in a number field: it plays and pauses there too, even when the focus
// has not yet gone back to the picture.
bool TSpriteViewer::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(Event)->keyCombination() == QKeyCombination(Qt::Key_Space))
    return true;  // left unaccepted, so the viewer's Space shortcut takes it
  return QWidget::eventFilter(Watched, Event);
}

QString TSpriteViewer::PixelReadOut(int X, int Y) const {
  const TS16Sprite* Sprite = SpriteAt(ShownIndex());
  if (!Sprite || X < 0 || Y < 0 || X >= Sprite->Width() || Y >= Sprite->Height()) return {};
  std::uint16_t Word = Sprite->PixelData()[std::size_t(Y) * Sprite->Width() + X];
  if (Sprite->Is555()) Word = Word555To565(Word);
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

// By the canvas's own size, which a shrunk box rounds: its last column is the box's last.
void TSpriteViewer::MouseAt(QPoint Point) {
  const auto Pixel = [](int At, int Pixels, int Side) {
    return At < 0 || Side == 0 ? -1 : int(std::int64_t(At) * Pixels / Side);
  };
  const QPoint Offset = ShownOffset();
  FReadOut->setText(PixelReadOut(Pixel(Point.x(), FBox.width(), FCanvas->width()) - Offset.x(),
                                 Pixel(Point.y(), FBox.height(), FCanvas->height()) - Offset.y()));
}

QWidget& TSpriteViewer::Canvas() const {
  return *FCanvas;
}
