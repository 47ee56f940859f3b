#include <gtest/gtest.h>

#include <QPainter>
#include <QPalette>

#include <memory>
#include <vector>

#include "app/unitProgressPanel.h"
#include "platform/unitHeapStatus.h"

namespace {

// Colours no two of which share a channel, so a blend with the text colour is recognisable.
const QRgb Blue = qRgb(0, 0, 255);
const QRgb ButtonFace = qRgb(0, 255, 0);
const QRgb TextColour = qRgb(255, 0, 0);
const QSize PanelSize(100, 19);
const std::size_t Heap = 1'234'567;

QPalette TestPalette() {
  QPalette Palette;
  Palette.setColor(QPalette::Button, QColor(ButtonFace));
  Palette.setColor(QPalette::WindowText, QColor(TextColour));
  return Palette;
}

QImage Panel(int Progress) {
  return PaintProgressPanel(PanelSize, Progress, Heap, TestPalette());
}

// The box of every pixel that is neither the bar, the hatch nor the button face.
QRect TextBox(const QImage& Image) {
  QRect Box;
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X)
      if (Image.pixel(X, Y) != Blue && Image.pixel(X, Y) != ButtonFace) Box |= QRect(X, Y, 1, 1);
  return Box;
}

// The text must sit at the top-left and leave the lower rows free for the checks.
void ExpectTextAtTopLeft(const QRect& Box) {
  ASSERT_FALSE(Box.isEmpty());
  EXPECT_GE(Box.left(), 1);
  EXPECT_LE(Box.left(), 4);
  EXPECT_LT(Box.bottom(), PanelSize.height() - 3);
}

void ExpectBar(int Progress, int BarWidth) {
  const QImage Image = Panel(Progress);
  const QRect Text = TextBox(Image);
  ExpectTextAtTopLeft(Text);
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X)
      if (!Text.contains(X, Y)) {
        ASSERT_EQ(Image.pixel(X, Y), X < BarWidth ? Blue : ButtonFace) << X << "," << Y;
      }
}

bool ContainsColour(const QImage& Image, const QRect& Box, QRgb Colour) {
  for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
    for (int X = Box.left(); X <= Box.right(); ++X)
      if (Image.pixel(X, Y) == Colour) return true;
  return false;
}

TEST(ProgressPanelHeap, CountsBlocksTheAllocatorMapsOnTheirOwn) {
  const std::size_t Before = HeapBytesInUse();
  // Above the largest mmap threshold glibc may adopt, so the block is mapped apart.
  const std::size_t Size = 64 << 20;
  const auto Block = std::make_unique_for_overwrite<char[]>(Size);
  // Stored where the compiler must keep it, or it may drop the unused allocation.
  char* volatile Keep = Block.get();
  const std::size_t During = HeapBytesInUse();
  if (Before == 0 && During == 0) GTEST_SKIP() << "this allocator keeps no count";
  EXPECT_GE(During, Before + Size);
  static_cast<void>(Keep);
}

TEST(ProgressPanelText, ShowsHeapInWholeKilobytesAndThePercentageWhenBusy) {
  EXPECT_EQ(ProgressPanelText(-1, Heap), "1205K");
  EXPECT_EQ(ProgressPanelText(42, Heap), "42% 1205K");
  EXPECT_EQ(ProgressPanelText(0, 0), "0% 0K");
  EXPECT_EQ(ProgressPanelText(100, 1023), "100% 0K");
  EXPECT_EQ(ProgressPanelText(100, 1024), "100% 1K");
}

TEST(ProgressPanel, IdleShowsForwardDiagonalHatchBetweenButtonFace) {
  const QImage Image = Panel(-1);
  const QRect Text = TextBox(Image);
  ExpectTextAtTopLeft(Text);
  const auto Free = [&](int X, int Y) {
    return Image.rect().contains(X, Y) && !Text.contains(X, Y);
  };
  int BluePixels = 0;
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X) {
      if (!Free(X, Y) || Image.pixel(X, Y) != Blue) continue;
      ++BluePixels;
      // A line one pixel thick running down to the right: no block, no checkerboard.
      if (Free(X + 1, Y + 1)) {
        EXPECT_EQ(Image.pixel(X + 1, Y + 1), Blue) << X << "," << Y;
      }
      if (Free(X + 1, Y)) {
        EXPECT_EQ(Image.pixel(X + 1, Y), ButtonFace) << X << "," << Y;
      }
      if (Free(X, Y + 1)) {
        EXPECT_EQ(Image.pixel(X, Y + 1), ButtonFace) << X << "," << Y;
      }
      if (Free(X - 1, Y + 1)) {
        EXPECT_EQ(Image.pixel(X - 1, Y + 1), ButtonFace) << X << "," << Y;
      }
    }
  EXPECT_GT(BluePixels, Image.height());
  EXPECT_TRUE(ContainsColour(Image, Text, Blue)) << "the hatch shows behind the letters";
}

TEST(ProgressPanel, TextIsInTheWindowTextColour) {
  const QImage Image = Panel(-1);
  EXPECT_TRUE(ContainsColour(Image, TextBox(Image), TextColour));
}

TEST(ProgressPanel, IdleTextIsShorterThanBusyTextWithTheSameHeap) {
  EXPECT_LT(TextBox(Panel(-1)).width(), TextBox(Panel(42)).width());
}

TEST(ProgressPanel, BarIsOnePixelWiderThanThePercentage) {
  ExpectBar(0, 1);
  ExpectBar(42, 43);
}

TEST(ProgressPanel, FullBarIsCutAtTheRightEdge) {
  ExpectBar(100, PanelSize.width());
  const QImage Image = Panel(100);
  EXPECT_TRUE(ContainsColour(Image, TextBox(Image), Blue)) << "the bar shows behind the letters";
}

TEST(ProgressPanel, WidgetPaintsThroughItsHandlerWithItsWholeRect) {
  TProgressPanel Widget;
  Widget.resize(300, PanelSize.height());
  std::vector<QRect> Rects;
  Widget.OnDrawPanel = [&](QPainter& Canvas, const QRect& Rect) {
    Rects.push_back(Rect);
    Canvas.drawImage(Rect.topLeft(), PaintProgressPanel(Rect.size(), 42, Heap, TestPalette()));
  };

  const QImage Shown = Widget.grab().toImage();

  EXPECT_EQ(Widget.PaintCount(), 1);
  ASSERT_EQ(Rects.size(), 1u);
  EXPECT_EQ(Rects[0], QRect(QPoint(0, 0), PanelSize));
  EXPECT_EQ(Shown.pixel(42, PanelSize.height() - 1), Blue);
  EXPECT_EQ(Shown.pixel(43, PanelSize.height() - 1), ButtonFace);
  Widget.grab();
  EXPECT_EQ(Widget.PaintCount(), 2);
}

}  // namespace
