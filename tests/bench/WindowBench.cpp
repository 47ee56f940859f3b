// The editor window on real Qt events (offscreen): opening a large document and rebuilding its
// list, against the same thumbnails made by the core alone; and scrolling a full list.

#include <benchmark/benchmark.h>

#include <QListView>
#include <QScrollBar>
#include <filesystem>
#include <memory>
#include <random>

#include "imaging/unitThumbnailMaker.h"
#include "tests/bench/BenchWindow.h"
#include "tests/support/MainWindowProbe.h"
#include "tests/support/SpriteFactory.h"

namespace {

std::string DocumentFile(int Count, int Side) {
  const std::string Path = (std::filesystem::temp_directory_path() /
                            ("pelbrook-bench-" + std::to_string(Count) + ".s16"))
                               .string();
  if (std::filesystem::exists(Path)) return Path;
  std::mt19937 Random(7);
  TS16File File;
  for (int I = 0; I < Count; ++I) {
    TWords Words(std::size_t(Side) * Side);
    for (auto& Word : Words) Word = std::uint16_t(Random());
    File.Add(MakeSprite(Side, Side, Words));
  }
  File.SaveToFile(Path);
  return Path;
}

constexpr int LargeDocument = 10000;

void BM_CoreThumbnailsOfADocument(benchmark::State& State) {
  const std::string Path = DocumentFile(LargeDocument, 32);
  const TThumbnailSettings Settings{25, true, 0};
  // Kept, as the list keeps them (argument 1), or each dropped once made (0).
  const bool Keep = State.range(0) == 1;
  std::vector<TThumbnail> Thumbnails;
  for (auto _ : State) {
    TS16File File;
    File.LoadFromFile(Path);
    File.SetFormat(false);
    Thumbnails.clear();
    Thumbnails.reserve(std::size_t(File.Count()));
    for (int I = 0; I < File.Count(); ++I) {
      TThumbnail Made = MakeThumbnail(File.GetSprite(I), Settings);
      if (Keep) Thumbnails.push_back(std::move(Made));
    }
  }
  State.SetItemsProcessed(State.iterations() * LargeDocument);
}
BENCHMARK(BM_CoreThumbnailsOfADocument)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_WindowOpensAndListsADocument(benchmark::State& State) {
  const std::string Path = DocumentFile(LargeDocument, 32);
  TBenchWindow Bench;
  const TMainWindowProbe Probe(*Bench.Window);
  int Repaints = 0;
  for (auto _ : State) {
    const int Before = Probe.Panel0().PaintCount();
    Bench.Open(Path);
    Repaints = Probe.Panel0().PaintCount() - Before;
    if (Probe.Thumbnails().Count() != LargeDocument) State.SkipWithError("thumbnails missing");
  }
  State.SetItemsProcessed(State.iterations() * LargeDocument);
  // Two phases of percentages and the return to idle: at most 2 x 101 + 1.
  State.counters["PanelRepaints"] = Repaints;
}
BENCHMARK(BM_WindowOpensAndListsADocument)->Unit(benchmark::kMillisecond);

// One page down and its repaint, over the largest list a file can hold.
void BM_ScrollAFullList(benchmark::State& State) {
  TBenchWindow Bench;
  Bench.Open(DocumentFile(65535, 8));
  QListView& Images = TMainWindowProbe(*Bench.Window).Images();
  QScrollBar& Bar = *Images.verticalScrollBar();
  for (auto _ : State) {
    const int Next = Bar.value() + Bar.pageStep();
    Bar.setValue(Next > Bar.maximum() ? 0 : Next);
    Images.viewport()->repaint();
  }
  State.counters["Items"] = Images.model()->rowCount();
}
BENCHMARK(BM_ScrollAFullList)->Unit(benchmark::kMillisecond);

}  // namespace
