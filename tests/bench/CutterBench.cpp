// Expand Sprite on a 2048 x 2048 sheet of 1024 sprites of 60 x 60 on one-pixel padding: the
// core's scan alone, the whole of what pelbrook-tool expand runs (load, expand, save), and the
// editor's command with its view redrawn after every cut (offscreen, real event loop).
// The sheet stays in the temporary folder, for timing the tool itself:
//   time build/pelbrook-tool expand /tmp/pelbrook-bench-sheet.s16 0 /tmp/pelbrook-cut.s16

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

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

std::unique_ptr<TS16Sprite> CopyOf(const TS16Sprite& Sprite) {
  auto Copy = std::make_unique<TS16Sprite>();
  Copy->SetWidth(Sprite.Width());
  Copy->SetHeight(Sprite.Height());
  std::copy_n(Sprite.PixelData(), Sprite.PixelCount(), Copy->PixelData());
  return Copy;
}

void BM_ExpandSheet(benchmark::State& State) {
  const std::unique_ptr<TS16Sprite> Composite = Sheet();
  for (auto _ : State) {
    State.PauseTiming();
    TS16File File;
    File.Add(CopyOf(*Composite));
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
    Probe.Document().Add(CopyOf(*Composite));
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

}  // namespace

BENCHMARK(BM_WindowExpandsASheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandToolPath)->Unit(benchmark::kMillisecond);
