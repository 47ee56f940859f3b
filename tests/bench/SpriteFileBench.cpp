// Loading and saving a 100 MB .s16 file beside plain stream I/O of the same bytes, and the
// .spr writer's conversion of 5-6-5 sprites to the fixed palette.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "sprites/unitPixelConversions.h"
#include "sprites/unitS16Handler.h"
#include "sprites/unitT1Palette.h"

namespace {

constexpr int BigSpriteCount = 1600;  // 1600 sprites of 256 x 128: 100 MiB of pixels

std::string BenchPath(const char* Name) {
  return (std::filesystem::temp_directory_path() / Name).string();
}

std::unique_ptr<TS16Sprite> RandomSprite(std::mt19937& Random, int Width, int Height) {
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetWidth(std::uint16_t(Width));
  Sprite->SetHeight(std::uint16_t(Height));
  for (std::size_t I = 0; I < Sprite->PixelCount(); ++I)
    Sprite->PixelData()[I] = Random() % 8 == 0 ? 0 : std::uint16_t(Random());
  return Sprite;
}

const std::string& BigFile() {
  static const std::string Path = [] {
    std::mt19937 Random(7);
    TS16File File;
    for (int I = 0; I < BigSpriteCount; ++I) File.Add(RandomSprite(Random, 256, 128));
    const std::string P = BenchPath("pelbrook-bench-100mb.s16");
    File.SaveToFile(P);
    return P;
  }();
  return Path;
}

void SetBytes(benchmark::State& State) {
  State.SetBytesProcessed(std::int64_t(State.iterations()) *
                          std::int64_t(std::filesystem::file_size(BigFile())));
}

void BM_S16Load(benchmark::State& State) {
  BigFile();
  for (auto _ : State) {
    TS16File File;
    File.LoadFromFile(BigFile());
    benchmark::DoNotOptimize(File.GetSprite(0).PixelData());
  }
  SetBytes(State);
}

// Into a buffer made once, so the figure is the page cache's copy alone.
void BM_StreamRead(benchmark::State& State) {
  std::vector<char> Bytes(std::filesystem::file_size(BigFile()));
  for (auto _ : State) {
    std::ifstream In(BigFile(), std::ios::binary);
    In.read(Bytes.data(), std::streamsize(Bytes.size()));
    benchmark::DoNotOptimize(Bytes.data());
  }
  SetBytes(State);
}

// Into fresh memory each time, as a load gets: on machines where page faults are dear this,
// not the copy, is what a load costs.
void BM_StreamReadFresh(benchmark::State& State) {
  for (auto _ : State) {
    std::ifstream In(BigFile(), std::ios::binary);
    std::vector<char> Bytes(std::filesystem::file_size(BigFile()));
    In.read(Bytes.data(), std::streamsize(Bytes.size()));
    benchmark::DoNotOptimize(Bytes.data());
  }
  SetBytes(State);
}

void BM_S16Save(benchmark::State& State) {
  TS16File File;
  File.LoadFromFile(BigFile());
  const std::string Out = BenchPath("pelbrook-bench-save.s16");
  for (auto _ : State) File.SaveToFile(Out);
  std::filesystem::remove(Out);
  SetBytes(State);
}

// The same bytes through a plain stream, with the save's flush, sync and rename.
void BM_StreamWrite(benchmark::State& State) {
  std::vector<char> Bytes(std::filesystem::file_size(BigFile()));
  std::ifstream(BigFile(), std::ios::binary).read(Bytes.data(), std::streamsize(Bytes.size()));
  const std::string Out = BenchPath("pelbrook-bench-stream.s16");
  for (auto _ : State) {
    {
      std::ofstream Stream(Out + ".tmp", std::ios::binary | std::ios::trunc);
      Stream.write(Bytes.data(), std::streamsize(Bytes.size()));
    }
    const int Fd = open((Out + ".tmp").c_str(), O_RDONLY);
    fsync(Fd);
    close(Fd);
    std::filesystem::rename(Out + ".tmp", Out);
  }
  std::filesystem::remove(Out);
  SetBytes(State);
}

// The .spr writer's per-sprite work: 16-bit bitmap, copy into the fixed palette, both
// MatchBlack passes.
void BM_SprConversion(benchmark::State& State) {
  std::mt19937 Random(11);
  std::vector<std::unique_ptr<TS16Sprite>> Sprites;
  std::int64_t Pixels = 0;
  for (int I = 0; I < 200; ++I) {
    Sprites.push_back(RandomSprite(Random, 16 + int(Random() % 241), 16 + int(Random() % 241)));
    Pixels += std::int64_t(Sprites.back()->PixelCount());
  }
  for (auto _ : State)
    for (const auto& Sprite : Sprites) {
      const auto Bitmap16 = SpriteToBitmap(*Sprite);
      TBitmap Bitmap8(TPixelFormat::pf8bit);
      Bitmap8.SetPalette(CreateT1Palette());
      ConvertBitmap(*Bitmap16, Bitmap8);
      benchmark::DoNotOptimize(Bitmap8.ScanLine(0));
    }
  State.SetItemsProcessed(std::int64_t(State.iterations()) * Pixels);
}

}  // namespace

BENCHMARK(BM_S16Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamReadFresh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_S16Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SprConversion)->Unit(benchmark::kMillisecond);
