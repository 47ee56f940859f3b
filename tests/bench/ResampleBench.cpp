// The thumbnails of a whole document, and one large image, scaled with the resampler.
// pillow_thumbnails.py beside this file times Pillow on the same work.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/resample.h"
#include "imaging/unitThumbnailMaker.h"

namespace {

constexpr int DocumentSprites = 2000;

// The generator pillow_thumbnails.py repeats, so both time the same sizes.
class TSizeGenerator {
 public:
  int NextSide() {
    FState = FState * 6364136223846793005u + 1442695040888963407u;
    return 16 + int((FState >> 33) % 241);
  }

 private:
  std::uint64_t FState = 2024;
};

TBitmap NoiseBitmap(int Width, int Height, std::uint32_t Seed) {
  TBitmap Bitmap(TPixelFormat::pf24bit, Width, Height);
  std::vector<std::uint8_t> Bytes(Bitmap.RawSize());
  for (std::uint8_t& Byte : Bytes) {
    Seed = Seed * 1664525u + 1013904223u;
    Byte = std::uint8_t(Seed >> 24);
  }
  Bitmap.WriteRawBits(Bytes.data());
  return Bitmap;
}

const std::vector<TBitmap>& DocumentBitmaps() {
  static const std::vector<TBitmap> Bitmaps = [] {
    TSizeGenerator Sizes;
    std::vector<TBitmap> Result;
    for (int I = 0; I < DocumentSprites; ++I) {
      const int Width = Sizes.NextSide();
      const int Height = Sizes.NextSide();
      Result.push_back(NoiseBitmap(Width, Height, std::uint32_t(I)));
    }
    return Result;
  }();
  return Bitmaps;
}

const std::vector<std::unique_ptr<TS16Sprite>>& DocumentSpritesOf() {
  static const std::vector<std::unique_ptr<TS16Sprite>> Sprites = [] {
    std::vector<std::unique_ptr<TS16Sprite>> Result;
    for (const TBitmap& Bitmap : DocumentBitmaps()) {
      auto Sprite = std::make_unique<TS16Sprite>();
      Sprite->SetWidth(std::uint16_t(Bitmap.Width()));
      Sprite->SetHeight(std::uint16_t(Bitmap.Height()));
      for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X) Sprite->WritePixel(X, Y, Bitmap.GetPixel(X, Y));
      Result.push_back(std::move(Sprite));
    }
    return Result;
  }();
  return Sprites;
}

// Resampling alone, from 24-bit bitmaps, as Pillow's resize is timed.
void ResampleDocument(benchmark::State& State) {
  const TThumbnailSettings Settings{int(State.range(0)), true, int(State.range(1))};
  const TFilterRow& Filter = FilterTable[std::size_t(Settings.FilterRow)];
  std::vector<TBitmap> Sources = DocumentBitmaps();
  for (auto _ : State)
    for (TBitmap& Source : Sources) {
      const TScaledSize Size = ThumbnailGeometry(Source.Width(), Source.Height(), Settings);
      TBitmap Scaled(TPixelFormat::pf24bit, Size.Width, Size.Height);
      ResampleBitmap(Source, Scaled, Filter.Weight, Filter.Support);
      benchmark::DoNotOptimize(Scaled.ScanLine(0));
    }
  State.counters["thumbnails/s"] =
      benchmark::Counter(DocumentSprites, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ResampleDocument)->Args({100, 1})->Args({25, 0})->Unit(benchmark::kMillisecond);

// What the list does: for each sprite, to 24 bits, scaled, through 5-6-5; the sprites of each
// step of the progress (1 %, 20 of these) made together on the processor's cores. Wall time:
// the list waits for the slower core.
void ThumbnailDocument(benchmark::State& State) {
  const TThumbnailSettings Settings{int(State.range(0)), true, int(State.range(1))};
  std::vector<const TS16Sprite*> Sprites;
  for (const auto& Sprite : DocumentSpritesOf()) Sprites.push_back(Sprite.get());
  const std::size_t Step = Sprites.size() / 100;
  for (auto _ : State)
    for (std::size_t First = 0; First < Sprites.size(); First += Step) {
      const auto Made = MakeThumbnails(
          std::span(Sprites).subspan(First, std::min(Step, Sprites.size() - First)), Settings);
      benchmark::DoNotOptimize(Made.data());
    }
  State.counters["thumbnails/s"] =
      benchmark::Counter(DocumentSprites, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ThumbnailDocument)
    ->Args({100, 1})
    ->Args({25, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One sprite after another on one core, as the list made them before it used both.
void ThumbnailDocumentOneCore(benchmark::State& State) {
  const TThumbnailSettings Settings{int(State.range(0)), true, int(State.range(1))};
  const auto& Sprites = DocumentSpritesOf();
  for (auto _ : State)
    for (const auto& Sprite : Sprites) {
      TThumbnail Thumbnail = MakeThumbnail(*Sprite, Settings);
      benchmark::DoNotOptimize(Thumbnail.Image.ScanLine(0));
    }
  State.counters["thumbnails/s"] =
      benchmark::Counter(DocumentSprites, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ThumbnailDocumentOneCore)->Args({100, 1})->Args({25, 0})->Unit(benchmark::kMillisecond);

void ResampleLarge(benchmark::State& State) {
  const int Side = int(State.range(0));
  TBitmap Source = NoiseBitmap(4096, 4096, 1);
  TBitmap Destination(TPixelFormat::pf24bit, Side, Side);
  for (auto _ : State) {
    ResampleBitmap(Source, Destination, TriangleFilter, 1.0f);
    benchmark::DoNotOptimize(Destination.ScanLine(0));
  }
  State.counters["MP/s"] =
      benchmark::Counter(double(Side) * Side / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ResampleLarge)->Arg(1024)->Arg(8192)->Unit(benchmark::kMillisecond);

}  // namespace
