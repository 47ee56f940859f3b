// pelbrook-tool preview's worst cases, which must each take less than a second: the largest
// sprites it reads and scales (16 Mi pixels, in one sprite or nine, .s16 and .spr), at the sizes
// file managers ask for, and a header claiming a sprite it refuses. Each is read, scaled and
// written to a PNG as the tool does.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "imaging/unitFilePreview.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitFileIO.h"
#include "sprites/unitLeadingSprites.h"
#include "sprites/unitSpriteFileRoutes.h"

namespace {

std::string BenchPath(const std::string& Name) {
  return (std::filesystem::temp_directory_path() / ("pelbrook-bench-preview-" + Name)).string();
}

// Count sprites of Side x Side in gradients, saved in SaveFormat; made once per run.
const std::string& SpriteFile(int Count, int Side, int SaveFormat) {
  static std::map<std::tuple<int, int, int>, std::string> Made;
  std::string& Path = Made[{Count, Side, SaveFormat}];
  if (Path.empty()) {
    TS16File File;
    for (int Index = 0; Index < Count; ++Index) {
      auto Sprite = std::make_unique<TS16Sprite>();
      Sprite->SetWidth(std::uint16_t(Side));
      Sprite->SetHeight(std::uint16_t(Side));
      for (std::size_t Pixel = 0; Pixel < Sprite->PixelCount(); ++Pixel)
        Sprite->PixelData()[Pixel] = std::uint16_t(Pixel * 7 + Index);
      File.Add(std::move(Sprite));
    }
    Path = BenchPath(std::to_string(Count) + "x" + std::to_string(Side) +
                     (SaveFormat == SaveFormatSpr ? ".spr" : ".s16"));
    TNoProgress None;
    SaveDocument(File, SaveFormat, Path, None);
  }
  return Path;
}

void Preview(benchmark::State& State, const std::string& In, bool AsSpr) {
  const std::string Out = BenchPath("out.png");
  for (auto _ : State) {
    const auto Sprites = ReadLeadingSprites(In, AsSpr, MaxPreviewSprites, MaxPreviewPixels);
    SaveImageFile(MakePreview(Sprites, int(State.range(0))), true, Out);
  }
}

// range(0): the size asked for.
void OneSpriteAtTheBound(benchmark::State& State) {
  Preview(State, SpriteFile(1, 4096, SaveFormatS16_565), false);
}
void NineSpritesAtTheBound(benchmark::State& State) {
  Preview(State, SpriteFile(9, 1365, SaveFormatS16_565), false);
}
void SprSpriteAtTheBound(benchmark::State& State) {
  Preview(State, SpriteFile(1, 4096, SaveFormatSpr), true);
}

void HeaderClaimingAHugeSprite(benchmark::State& State) {
  const std::string In = BenchPath("claims.s16");
  // Flags, a count of 1, and an entry of 65535 x 65535 with no pixels.
  const std::uint8_t Header[] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  SaveWholeFile(In, Header, sizeof Header);
  for (auto _ : State) {
    try {
      ReadLeadingSprites(In, false, MaxPreviewSprites, MaxPreviewPixels);
      State.SkipWithError("a sprite of 65535 x 65535 was read");
    } catch (const ESpriteError&) {
    }
  }
}

}  // namespace

BENCHMARK(OneSpriteAtTheBound)->Arg(128)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(NineSpritesAtTheBound)->Arg(128)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(SprSpriteAtTheBound)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(HeaderClaimingAHugeSprite)->Unit(benchmark::kMicrosecond);
