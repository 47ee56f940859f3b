// Writes cutter.wav, the manual cutter's snip: 0.15 s of 16-bit mono PCM, made the same way
// every build. A burst of noise for the blades meeting, and two decaying tones for the ring of
// the metal.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>
#include <vector>

#include "platform/unitLittleEndian.h"

namespace {

constexpr int SampleRate = 22050;
constexpr int SampleCount = SampleRate * 15 / 100;

std::vector<double> Snip() {
  std::vector<double> Wave(SampleCount);
  std::uint32_t Noise = 0x2545F491;  // a fixed seed: the same sound every time
  double Previous = 0;
  for (int I = 0; I < SampleCount; ++I) {
    const double T = double(I) / SampleRate;
    Noise = Noise * 1664525u + 1013904223u;
    const double White = double(Noise >> 8) / double(1 << 23) - 1.0;
    const double Hiss = White - Previous;  // high-passed: a dry click, not a rumble
    Previous = White;
    const double Attack = std::min(1.0, T / 0.002);
    const double Blades = 0.6 * Hiss * Attack * std::exp(-T / 0.012);
    const double Ring = T < 0.006 ? 0.0
                                  : std::exp(-(T - 0.006) / 0.03) *
                                        (0.5 * std::sin(2 * std::numbers::pi * 3150 * T) +
                                         0.3 * std::sin(2 * std::numbers::pi * 4730 * T));
    const double FadeOut = std::min(1.0, double(SampleCount - 1 - I) / (0.01 * SampleRate));
    Wave[std::size_t(I)] = (Blades + Ring) * FadeOut;
  }
  return Wave;
}

std::vector<std::uint8_t> WaveFile(const std::vector<double>& Wave) {
  const std::uint32_t DataBytes = std::uint32_t(Wave.size() * 2);
  std::vector<std::uint8_t> Bytes(44 + DataBytes);
  std::uint8_t* P = Bytes.data();
  std::memcpy(P, "RIFF", 4);
  PutLe32(P + 4, 36 + DataBytes);
  std::memcpy(P + 8, "WAVEfmt ", 8);
  PutLe32(P + 16, 16);
  PutLe16(P + 20, 1);  // PCM
  PutLe16(P + 22, 1);  // mono
  PutLe32(P + 24, SampleRate);
  PutLe32(P + 28, SampleRate * 2);
  PutLe16(P + 32, 2);
  PutLe16(P + 34, 16);
  std::memcpy(P + 36, "data", 4);
  PutLe32(P + 40, DataBytes);
  double Peak = 0;
  for (double Sample : Wave) Peak = std::max(Peak, std::fabs(Sample));
  for (std::size_t I = 0; I < Wave.size(); ++I)
    PutLe16(P + 44 + 2 * I, std::uint16_t(std::int16_t(std::lround(Wave[I] / Peak * 24000))));
  return Bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pelbrook-make-cutter-sound OUT.wav\n");
    return 2;
  }
  const std::vector<std::uint8_t> Bytes = WaveFile(Snip());
  std::ofstream Out(argv[1], std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
  return Out.flush() ? 0 : 1;
}
