// The big-picture routes of Import From, Export To and pelbrook-tool on an 8192 x 8192 picture,
// file to file: PNG and 24-bit BMP to .s16, .s16 to 24-bit BMP and PNG. peer_routes.py beside
// this file times the whole programs beside ImageMagick and Pillow.

#include <benchmark/benchmark.h>

#include <QImage>
#include <filesystem>
#include <random>

#include "platform/qt/unitImageImport.h"
#include "platform/qt/unitQtImageBridge.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitFileIO.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSpriteFileRoutes.h"

namespace {

constexpr int Side = 8192;

std::string BenchPath(const char* Name) {
  return (std::filesystem::temp_directory_path() / Name).string();
}

// Black, near-black pixels that narrow to black, gradients and grain, in stripes.
const TBitmap& Picture() {
  static const TBitmap Bitmap = [] {
    TBitmap Picture(TPixelFormat::pf24bit, Side, Side);
    std::minstd_rand Grain(1);
    for (int Y = 0; Y < Side; ++Y) {
      std::uint8_t* Row = Picture.ScanLine(Y);
      for (int X = 0; X < 3 * Side; ++X) {
        const int Stripe = (X / 3 + Y) % 5;
        Row[X] = Stripe == 0 ? 0 : Stripe == 1 ? 3 : std::uint8_t((X ^ Y) / 32 + Grain() % 8);
      }
    }
    return Picture;
  }();
  return Bitmap;
}

const std::string& BmpFile() {
  static const std::string Path = [] {
    const std::string P = BenchPath("pelbrook-bench-8192.bmp");
    SaveBmpFile(Picture(), P);
    return P;
  }();
  return Path;
}

const std::string& PngFile() {
  static const std::string Path = [] {
    const std::string P = BenchPath("pelbrook-bench-8192.png");
    const QByteArray Bytes = EncodePng(ImageOfBitmap(Picture()));
    SaveWholeFile(P, Bytes.constData(), std::size_t(Bytes.size()));
    return P;
  }();
  return Path;
}

const std::string& S16File() {
  static const std::string Path = [] {
    const std::string P = BenchPath("pelbrook-bench-8192.s16");
    TS16File File;
    File.Add(SpriteFromImportedBitmap(Picture()));
    File.SaveToFile(P);
    return P;
  }();
  return Path;
}

// As pelbrook-tool import does it: the picture made a sprite, saved as a document.
void ImportToS16(benchmark::State& State, const std::string& In) {
  const std::string Out = BenchPath("pelbrook-bench-import.s16");
  for (auto _ : State) {
    TS16File File;
    File.Add(TImageImport(In).MakeSprite());
    TNoProgress Progress;
    SaveDocument(File, SaveFormatS16_565, Out, Progress);
  }
  std::filesystem::remove(Out);
}

void BM_PngToS16(benchmark::State& State) {
  ImportToS16(State, PngFile());
}

void BM_ImportA24BitBmp(benchmark::State& State) {
  ImportToS16(State, BmpFile());
}

// As pelbrook-tool export does it: the document opened, its sprite written.
void ExportFromS16(benchmark::State& State, int Filter, const char* Name) {
  const std::string& In = S16File();
  const std::string Out = BenchPath(Name);
  for (auto _ : State) {
    TS16File File;
    OpenS16Document(File, In);
    SaveExportFile(File.GetSprite(0), Filter, Out);
  }
  std::filesystem::remove(Out);
}

void BM_S16To24BitBmp(benchmark::State& State) {
  ExportFromS16(State, ExportFilter24Bit, "pelbrook-bench-export.bmp");
}

void BM_S16ToPng(benchmark::State& State) {
  ExportFromS16(State, ExportFilterPng, "pelbrook-bench-export.png");
}

}  // namespace

BENCHMARK(BM_PngToS16)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_S16To24BitBmp)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_S16ToPng)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ImportA24BitBmp)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
