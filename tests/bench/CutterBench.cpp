// Expand Sprite on two sheets on one-pixel padding: 2048 x 2048 with 1024 sprites of 60 x 60
// (argument 0), and 4096 x 4096 with 8192 sprites of 60 x 30 (argument 1). Each is timed as the
// core's scan alone, the whole of what pelbrook-tool expand runs (load, expand, save), and the
// editor's command (offscreen, real event loop) with its view painted at display rate; and
// undo and redo of the first.
// The sheets stay in the temporary folder, for timing the tool itself:
//   time build/pelbrook-tool expand /tmp/pelbrook-bench-sheet-1024.s16 0 /tmp/pelbrook-cut.s16

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <random>

#include "app/unitSpriteHistory.h"
#include "imaging/unitExpansionScan.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/bench/BenchWindow.h"
#include "tests/support/MainWindowProbe.h"

namespace {

struct TSheetLayout {
  int Side, Across, Down, SpriteWidth, SpriteHeight;
  int Sprites() const { return Across * Down; }
};
constexpr TSheetLayout Layouts[] = {{2048, 32, 32, 60, 60}, {4096, 64, 128, 60, 30}};
constexpr std::uint16_t Padding = 0x8410;

std::unique_ptr<TS16Sprite> Sheet(const TSheetLayout& Layout) {
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetWidth(Layout.Side);
  Sprite->SetHeight(Layout.Side);
  std::mt19937 Random(5);
  std::uint16_t* Words = Sprite->PixelData();
  std::fill_n(Words, Sprite->PixelCount(), Padding);
  for (int Row = 0; Row < Layout.Down; ++Row)
    for (int Column = 0; Column < Layout.Across; ++Column)
      for (int Y = 0; Y < Layout.SpriteHeight; ++Y)
        for (int X = 0; X < Layout.SpriteWidth; ++X) {
          // Transparent black among the colours, but never the padding's.
          const std::uint16_t Word = Random() % 8 == 0 ? 0 : std::uint16_t(Random() | 1);
          const std::size_t At =
              std::size_t(1 + Row * (Layout.SpriteHeight + 1) + Y) * std::size_t(Layout.Side) +
              std::size_t(1 + Column * (Layout.SpriteWidth + 1) + X);
          Words[At] = Word == Padding ? Padding + 1 : Word;
        }
  return Sprite;
}

const std::string& SheetFile(const TSheetLayout& Layout) {
  static std::map<int, std::string> Paths;
  std::string& Path = Paths[Layout.Sprites()];
  if (Path.empty()) {
    TS16File File;
    File.Add(Sheet(Layout));
    Path = (std::filesystem::temp_directory_path() /
            ("pelbrook-bench-sheet-" + std::to_string(Layout.Sprites()) + ".s16"))
               .string();
    File.SaveToFile(Path);
  }
  return Path;
}

class TSilentExpansion : public IExpansionView {
 public:
  void SetStatusText(const std::string&) override {}
  void ShowWorkingImage(const TBitmap&) override {}
  void BoxCut(const TCutBox&) override { ++Cuts; }
  void SetProgress(int) override {}
  int Cuts = 0;
};

void BM_ExpandSheet(benchmark::State& State) {
  const TSheetLayout& Layout = Layouts[State.range(0)];
  const std::unique_ptr<TS16Sprite> Composite = Sheet(Layout);
  for (auto _ : State) {
    State.PauseTiming();
    TS16File File;
    File.Add(Composite->Clone());
    TSilentExpansion View;
    State.ResumeTiming();
    TExpansionScan(File, 0, View).Run();
    if (View.Cuts != Layout.Sprites()) State.SkipWithError("wrong number of cuts");
  }
}

void BM_ExpandToolPath(benchmark::State& State) {
  const TSheetLayout& Layout = Layouts[State.range(0)];
  const std::string Out =
      (std::filesystem::temp_directory_path() / "pelbrook-bench-cut.s16").string();
  const std::string& In = SheetFile(Layout);
  for (auto _ : State) {
    TS16File File;
    OpenS16Document(File, In);
    TSilentExpansion View;
    TExpansionScan(File, 0, View).Run();
    TNoProgress None;
    SaveDocument(File, SaveFormatS16_565, Out, None);
  }
  std::filesystem::remove(Out);
}

// The command from the layout question's Yes to the rebuilt list of thumbnails, with the
// number of frames its view painted.
void BM_WindowExpandsASheet(benchmark::State& State) {
  const TSheetLayout& Layout = Layouts[State.range(0)];
  const std::unique_ptr<TS16Sprite> Composite = Sheet(Layout);
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  int Frames = 0;
  for (auto _ : State) {
    State.PauseTiming();
    Probe.Document().Clear();
    Probe.Document().Add(Composite->Clone());
    Bench.Window->PopulateImageList();
    Bench.Window->MarkClean();
    Probe.SelectItem(0);
    Bench.Services.Answers = {TMsgResult::Yes};
    const int Before = Probe.AutoCutImg().PaintCount();
    State.ResumeTiming();
    Bench.Window->ExpandSprite1Click();
    Frames = Probe.AutoCutImg().PaintCount() - Before;
    if (Probe.Document().Count() != Layout.Sprites())
      State.SkipWithError("wrong number of sprites");
  }
  State.counters["ViewPaints"] = Frames;
}

// Undo (Undo is true) or redo of that expansion: the history's step alone, and the window's
// command with the list and its 1024 thumbnails rebuilt.
void BM_HistoryStepOfAnExpansion(benchmark::State& State, bool Undo) {
  auto File = std::make_unique<TS16File>();
  File->Add(Sheet(Layouts[0]));
  TSpriteRun Removed;
  Removed.push_back(File->GetSprite(0).Clone());
  TSilentExpansion View;
  TExpansionScan(*File, 0, View).Run();
  TSpriteHistory History(File);
  History.Record(
      std::make_unique<TReplaceStep>("Expand Sprite", *File, 0, std::move(Removed), File->Count()));
  for (auto _ : State) {
    if (!Undo) {
      State.PauseTiming();
      History.Undo();
      State.ResumeTiming();
    }
    const TDocumentChange Change = Undo ? History.Undo() : History.Redo();
    benchmark::DoNotOptimize(Change);
    if (Undo) {
      State.PauseTiming();
      History.Redo();
      State.ResumeTiming();
    }
  }
  if (File->Count() != Layouts[0].Sprites()) State.SkipWithError("wrong document");
}

void BM_WindowUndoOfAnExpansion(benchmark::State& State, bool Undo) {
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  Probe.Document().Add(Sheet(Layouts[0]));
  Bench.Window->PopulateImageList();
  Probe.SelectItem(0);
  Bench.Services.Answers = {TMsgResult::Yes};
  Bench.Window->ExpandSprite1Click();
  for (auto _ : State) {
    if (!Undo) {
      State.PauseTiming();
      Bench.Window->Undo1Click();
      State.ResumeTiming();
    }
    Undo ? Bench.Window->Undo1Click() : Bench.Window->Redo1Click();
    if (Undo) {
      State.PauseTiming();
      Bench.Window->Redo1Click();
      State.ResumeTiming();
    }
  }
  if (Probe.Document().Count() != Layouts[0].Sprites()) State.SkipWithError("wrong document");
}

}  // namespace

BENCHMARK_CAPTURE(BM_HistoryStepOfAnExpansion, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryStepOfAnExpansion, Redo, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WindowUndoOfAnExpansion, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WindowUndoOfAnExpansion, Redo, false)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowExpandsASheet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandToolPath)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
