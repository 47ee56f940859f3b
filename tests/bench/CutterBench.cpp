// Expand Sprite on a 2048 x 2048 sheet of 1024 sprites of 60 x 60 on one-pixel padding: the
// core's scan alone, the whole of what pelbrook-tool expand runs (load, expand, save), the
// editor's command with its view redrawn after every cut (offscreen, real event loop), and
// undo and redo of it.
// The sheet stays in the temporary folder, for timing the tool itself:
//   time build/pelbrook-tool expand /tmp/pelbrook-bench-sheet.s16 0 /tmp/pelbrook-cut.s16

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "app/unitSpriteHistory.h"
#include "imaging/unitExpansionScan.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/bench/BenchWindow.h"
#include "tests/support/MainWindowProbe.h"

namespace {

constexpr int SheetSide = 2048, SpriteSide = 60, SpritesPerRow = 32;
constexpr std::uint16_t Padding = 0x8410;

std::unique_ptr<TS16Sprite> Sheet() {
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetWidth(SheetSide);
  Sprite->SetHeight(SheetSide);
  std::mt19937 Random(5);
  std::uint16_t* Words = Sprite->PixelData();
  std::fill_n(Words, Sprite->PixelCount(), Padding);
  for (int Row = 0; Row < SpritesPerRow; ++Row)
    for (int Column = 0; Column < SpritesPerRow; ++Column)
      for (int Y = 0; Y < SpriteSide; ++Y)
        for (int X = 0; X < SpriteSide; ++X) {
          // Transparent black among the colours, but never the padding's.
          const std::uint16_t Word = Random() % 8 == 0 ? 0 : std::uint16_t(Random() | 1);
          const std::size_t At = std::size_t(1 + Row * (SpriteSide + 1) + Y) * SheetSide +
                                 std::size_t(1 + Column * (SpriteSide + 1) + X);
          Words[At] = Word == Padding ? Padding + 1 : Word;
        }
  return Sprite;
}

const std::string& SheetFile() {
  static const std::string Path = [] {
    TS16File File;
    File.Add(Sheet());
    const std::string P =
        (std::filesystem::temp_directory_path() / "pelbrook-bench-sheet.s16").string();
    File.SaveToFile(P);
    return P;
  }();
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
  const std::unique_ptr<TS16Sprite> Composite = Sheet();
  for (auto _ : State) {
    State.PauseTiming();
    TS16File File;
    File.Add(Composite->Clone());
    TSilentExpansion View;
    State.ResumeTiming();
    TExpansionScan(File, 0, View).Run();
    if (View.Cuts != SpritesPerRow * SpritesPerRow) State.SkipWithError("wrong number of cuts");
  }
}

void BM_ExpandToolPath(benchmark::State& State) {
  const std::string Out =
      (std::filesystem::temp_directory_path() / "pelbrook-bench-cut.s16").string();
  SheetFile();
  for (auto _ : State) {
    TS16File File;
    OpenS16Document(File, SheetFile());
    TSilentExpansion View;
    TExpansionScan(File, 0, View).Run();
    TNoProgress None;
    SaveDocument(File, SaveFormatS16_565, Out, None);
  }
  std::filesystem::remove(Out);
}

// The command from the layout question's Yes to the rebuilt list of 1024 thumbnails.
void BM_WindowExpandsASheet(benchmark::State& State) {
  const std::unique_ptr<TS16Sprite> Composite = Sheet();
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  for (auto _ : State) {
    State.PauseTiming();
    Probe.Document().Clear();
    Probe.Document().Add(Composite->Clone());
    Bench.Window->PopulateImageList();
    Bench.Window->MarkClean();
    Probe.SelectItem(0);
    Bench.Services.Answers = {TMsgResult::Yes};
    State.ResumeTiming();
    Bench.Window->ExpandSprite1Click();
    if (Probe.Document().Count() != SpritesPerRow * SpritesPerRow)
      State.SkipWithError("wrong number of sprites");
  }
}

// Undo (Undo is true) or redo of that expansion: the history's step alone, and the window's
// command with the list and its 1024 thumbnails rebuilt.
void BM_HistoryStepOfAnExpansion(benchmark::State& State, bool Undo) {
  auto File = std::make_unique<TS16File>();
  File->Add(Sheet());
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
  if (File->Count() != SpritesPerRow * SpritesPerRow) State.SkipWithError("wrong document");
}

void BM_WindowUndoOfAnExpansion(benchmark::State& State, bool Undo) {
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  Probe.Document().Add(Sheet());
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
  if (Probe.Document().Count() != SpritesPerRow * SpritesPerRow)
    State.SkipWithError("wrong document");
}

}  // namespace

BENCHMARK_CAPTURE(BM_HistoryStepOfAnExpansion, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryStepOfAnExpansion, Redo, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WindowUndoOfAnExpansion, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WindowUndoOfAnExpansion, Redo, false)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowExpandsASheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandToolPath)->Unit(benchmark::kMillisecond);
