// Import From of a large picture: an 8192 x 8192 24-bit BMP file read and made into a sprite,
// black exactly where the file is black. The aim is well under a second.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"

namespace {

constexpr int Side = 8192;

// Black, near-black pixels that narrow to black, and colours, in stripes.
const std::string& BigBmp() {
  static const std::string Path = [] {
    TBitmap Picture(TPixelFormat::pf24bit, Side, Side);
    for (int Y = 0; Y < Side; ++Y) {
      std::uint8_t* Row = Picture.ScanLine(Y);
      for (int X = 0; X < 3 * Side; ++X)
        Row[X] = (X / 3 + Y) % 5 == 0 ? 0 : (X / 3 + Y) % 5 == 1 ? 3 : std::uint8_t(X ^ Y);
    }
    const std::string P =
        (std::filesystem::temp_directory_path() / "pelbrook-bench-8192.bmp").string();
    SaveBmpFile(Picture, P);
    return P;
  }();
  return Path;
}

void BM_ImportA24BitBmp(benchmark::State& State) {
  BigBmp();
  for (auto _ : State) {
    const auto Sprite = SpriteFromImportedBitmap(*LoadBmpFile(BigBmp()));
    benchmark::DoNotOptimize(Sprite->PixelData());
  }
}

}  // namespace

BENCHMARK(BM_ImportA24BitBmp)->Unit(benchmark::kMillisecond)->Iterations(3);
