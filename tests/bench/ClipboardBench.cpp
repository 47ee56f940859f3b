// Copy and Paste of a 2048 x 2048 sheet through the editor's commands and Qt's clipboard:
// Copy from the key to the clipboard being owned (nothing is encoded yet), each offered form
// encoded when a program asks for it, and Paste of a PNG to the rebuilt list. Offscreen by
// default; on an X display (QT_QPA_PLATFORM=xcb, e.g. under Xvfb) the copy is a real selection
// and xclip, another program, asks for the targets and the data.
// The pasted PNG stays in the temporary folder, for timing other programs on it
// (tests/bench/peers.py): /tmp/pelbrook-bench-paste.png

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QClipboard>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
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

// The window with the sheet as its only sprite, selected, and the copy format of Depth bits.
struct TCopyBench : TBenchWindow {
  explicit TCopyBench(int Depth) {
    const TMainWindowProbe Probe(*Window);
    auto Sprite = MakeSprite(Side, Side);
    const QImage Sheet = SheetImage();
    for (int Y = 0; Y < Side; ++Y)
      for (int X = 0; X < Side; ++X) {
        const QRgb C = Sheet.pixel(X, Y);
        Sprite->PixelData()[Y * Side + X] =
            std::uint16_t((qRed(C) >> 3) << 11 | (qGreen(C) >> 2) << 5 | qBlue(C) >> 3);
      }
    Probe.Document().Add(std::move(Sprite));
    Window->PopulateImageList();
    Probe.SelectItem(0);
    Window->RunMenuEntry(Window->MenuEntry(Depth == 8 ? "N8bitBMP1" : "N24bitBMP1"));
  }
  void Copy() { Window->RunMenuEntry(Window->MenuEntry("Copy1")); }
};

void BM_CopyASheetToTheClipboard(benchmark::State& State) {
  TCopyBench Bench(int(State.range(0)));
  for (auto _ : State) Bench.Copy();
}
BENCHMARK(BM_CopyASheetToTheClipboard)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);

// After a copy, the first request for Type: the encoding it waited for.
void BM_ACopyEncodesOnRequest(benchmark::State& State, const char* Type) {
  TCopyBench Bench(24);
  qsizetype Bytes = 0;
  for (auto _ : State) {
    State.PauseTiming();
    Bench.Copy();
    State.ResumeTiming();
    Bytes = QGuiApplication::clipboard()->mimeData()->data(Type).size();
  }
  State.counters["Bytes"] = double(Bytes);
}
BENCHMARK_CAPTURE(BM_ACopyEncodesOnRequest, Png, "image/png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ACopyEncodesOnRequest, Bmp, "image/bmp")->Unit(benchmark::kMillisecond);

// On an X display, xclip asks a fresh copy for Type (TARGETS: the names offered) and reads it
// to its end: from its start to its exit.
void BM_AnotherProgramReadsACopy(benchmark::State& State, const char* Type) {
  const QString Xclip = QStandardPaths::findExecutable("xclip");
  if (QGuiApplication::platformName() != "xcb" || Xclip.isEmpty()) {
    State.SkipWithError("needs an X display (QT_QPA_PLATFORM=xcb) and xclip");
    return;
  }
  TCopyBench Bench(24);
  qsizetype Bytes = 0;
  for (auto _ : State) {
    State.PauseTiming();
    Bench.Copy();
    QProcess Reader;
    QEventLoop Loop;
    QObject::connect(&Reader, &QProcess::finished, &Loop, &QEventLoop::quit);
    State.ResumeTiming();
    Reader.start(Xclip, {"-selection", "clipboard", "-t", Type, "-o"});
    Loop.exec();  // serves xclip's requests
    Bytes = Reader.readAllStandardOutput().size();
  }
  State.counters["Bytes"] = double(Bytes);
}
BENCHMARK_CAPTURE(BM_AnotherProgramReadsACopy, Targets, "TARGETS")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnotherProgramReadsACopy, Png, "image/png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnotherProgramReadsACopy, Bmp, "image/bmp")->Unit(benchmark::kMillisecond);

void BM_PasteAPngFromTheClipboard(benchmark::State& State) {
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  QByteArray Png;
  QBuffer Buffer(&Png);
  Buffer.open(QIODevice::WriteOnly);
  SheetImage().save(&Buffer, "PNG");
  QFile Kept(QString::fromStdString(
      (std::filesystem::temp_directory_path() / "pelbrook-bench-paste.png").string()));
  if (Kept.open(QIODevice::WriteOnly)) Kept.write(Png);
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
