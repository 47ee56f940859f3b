// Copy and Paste of a large sheet through the editor's commands and Qt's clipboard (offscreen):
// rendering, PNG and BMP encoding or decoding, and the conversions into a sprite.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <random>

#include "tests/bench/BenchWindow.h"
#include "tests/support/MainWindowProbe.h"
#include "tests/support/SpriteFactory.h"

namespace {

constexpr int Side = 2048;

// A sheet as artists make them: 64 x 64 blocks of one colour each on a black background.
QImage SheetImage() {
  QImage Image(Side, Side, QImage::Format_ARGB32);
  std::mt19937 Random(3);
  Image.fill(Qt::transparent);
  for (int Y = 0; Y < Side; Y += 64)
    for (int X = 0; X < Side; X += 64) {
      const QRgb Colour = qRgb(int(Random() % 256), int(Random() % 256), int(Random() % 256));
      for (int Row = Y + 2; Row < Y + 62; ++Row)
        for (int Column = X + 2; Column < X + 62; ++Column) Image.setPixel(Column, Row, Colour);
    }
  return Image;
}

void BM_CopyASheetToTheClipboard(benchmark::State& State) {
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  auto Sprite = MakeSprite(Side, Side);
  const QImage Sheet = SheetImage();
  for (int Y = 0; Y < Side; ++Y)
    for (int X = 0; X < Side; ++X) {
      const QRgb C = Sheet.pixel(X, Y);
      Sprite->PixelData()[Y * Side + X] =
          std::uint16_t((qRed(C) >> 3) << 11 | (qGreen(C) >> 2) << 5 | qBlue(C) >> 3);
    }
  Probe.Document().Add(std::move(Sprite));
  Bench.Window->PopulateImageList();
  Probe.SelectItem(0);
  Bench.Window->RunMenuEntry(
      Bench.Window->MenuEntry(State.range(0) == 8 ? "N8bitBMP1" : "N24bitBMP1"));
  for (auto _ : State) Bench.Window->RunMenuEntry(Bench.Window->MenuEntry("Copy1"));
  State.counters["PngBytes"] =
      double(QGuiApplication::clipboard()->mimeData()->data("image/png").size());
}
BENCHMARK(BM_CopyASheetToTheClipboard)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_PasteAPngFromTheClipboard(benchmark::State& State) {
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  QByteArray Png;
  QBuffer Buffer(&Png);
  Buffer.open(QIODevice::WriteOnly);
  SheetImage().save(&Buffer, "PNG");
  for (auto _ : State) {
    State.PauseTiming();
    Probe.Document().Clear();
    auto* Data = new QMimeData;
    Data->setData("image/png", Png);
    QGuiApplication::clipboard()->setMimeData(Data);
    State.ResumeTiming();
    Bench.Window->RunMenuEntry(Bench.Window->MenuEntry("Paste1"));
    if (Probe.Document().Count() != 1) State.SkipWithError("nothing pasted");
  }
  State.counters["PngBytes"] = double(Png.size());
}
BENCHMARK(BM_PasteAPngFromTheClipboard)->Unit(benchmark::kMillisecond);

}  // namespace
