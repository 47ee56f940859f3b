#include "platform/unitPixelRows.h"

#include <algorithm>
#include <initializer_list>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/unitColour.h"
#include "platform/unitRowLoop.h"

#include <immintrin.h>

#define PELBROOK_SSE41 __attribute__((target("sse4.1")))
#define PELBROOK_AVX2 __attribute__((target("avx2")))

namespace {

bool ProcessorHasSse41() {
  static const bool Has = __builtin_cpu_supports("sse4.1");
  return Has;
}

bool ProcessorHasAvx2() {
  static const bool Has = __builtin_cpu_supports("avx2");
  return Has;
}

// A byte shuffle: lane I takes byte Indices[I] of its source; -1 and lanes not named take 0.
struct alignas(16) TShuffle {
  std::int8_t Lane[16];
};

constexpr TShuffle Shuffle(std::initializer_list<int> Indices) {
  TShuffle Result{};
  int I = 0;
  for (const int Index : Indices) Result.Lane[I++] = std::int8_t(Index);
  for (; I < 16; ++I) Result.Lane[I] = -1;
  return Result;
}

PELBROOK_SSE41 __m128i Apply(__m128i Source, const TShuffle& S) {
  return _mm_shuffle_epi8(Source, _mm_load_si128(reinterpret_cast<const __m128i*>(S.Lane)));
}

constexpr TShuffle BlueGreenLow = Shuffle({0, 1, -1, 2, 3, -1, 4, 5, -1, 6, 7, -1, 8, 9, -1, 10});
constexpr TShuffle RedLow = Shuffle({-1, -1, 0, -1, -1, 1, -1, -1, 2, -1, -1, 3, -1, -1, 4});
constexpr TShuffle BlueGreenHigh = Shuffle({11, -1, 12, 13, -1, 14, 15});
constexpr TShuffle RedHigh = Shuffle({-1, 5, -1, -1, 6, -1, -1, 7});
constexpr TShuffle BlueFirst = Shuffle({0, -1, 3, -1, 6, -1, 9, -1, 12, -1, 15, -1});
constexpr TShuffle BlueSecond = Shuffle({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, -1, 5});
constexpr TShuffle GreenFirst = Shuffle({1, -1, 4, -1, 7, -1, 10, -1, 13, -1});
constexpr TShuffle GreenSecond = Shuffle({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, -1, 3, -1, 6});
constexpr TShuffle RedFirst = Shuffle({2, -1, 5, -1, 8, -1, 11, -1, 14, -1});
constexpr TShuffle RedSecond = Shuffle({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 1, -1, 4, -1, 7});

// Eight or sixteen 16-bit lanes.
using TLanes8 = std::uint16_t __attribute__((vector_size(16)));
using TLanes16 = std::uint16_t __attribute__((vector_size(32)));

// The shifts that give exactly Scale5To8 and Scale6To8, in every lane of W: blue in the low
// byte and green in the high byte of BlueGreen, red in Red. Inlined into steps of either width.
template <class TLanes>
[[gnu::always_inline]] inline void WidenChannels(const TLanes& W, TLanes& BlueGreen, TLanes& Red) {
  const TLanes Blue = ((W & 0x1F) * 527 + 23) >> 6;
  const TLanes Green = (((W >> 5) & 0x3F) * 259 + 33) >> 6;
  BlueGreen = Blue | Green << 8;
  Red = ((W >> 11) * 527 + 23) >> 6;
}

// Eight pixels from Words to Out. Three-byte pixels are what compilers do not vectorise well,
// so these steps shuffle them by hand.
PELBROOK_SSE41 void Widen565Eight(const std::uint8_t* Words, std::uint8_t* Out) {
  TLanes8 BlueGreen, Red;
  WidenChannels(TLanes8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Words))), BlueGreen, Red);
  const __m128i Reds = _mm_packus_epi16(__m128i(Red), __m128i(Red));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(Out),
                   _mm_or_si128(Apply(__m128i(BlueGreen), BlueGreenLow), Apply(Reds, RedLow)));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(Out + 16),
                   _mm_or_si128(Apply(__m128i(BlueGreen), BlueGreenHigh), Apply(Reds, RedHigh)));
}

// The same shuffle in both halves of a 256-bit register.
PELBROOK_AVX2 __m256i Apply(__m256i Source, const TShuffle& S) {
  return _mm256_shuffle_epi8(Source, _mm256_broadcastsi128_si256(
                                         _mm_load_si128(reinterpret_cast<const __m128i*>(S.Lane))));
}

// Sixteen pixels: each half of the register widens eight as Widen565Eight does.
PELBROOK_AVX2 void Widen565Sixteen(const std::uint8_t* Words, std::uint8_t* Out) {
  TLanes16 BlueGreen, Red;
  WidenChannels(TLanes16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(Words))), BlueGreen,
                Red);
  const __m256i Reds = _mm256_packus_epi16(__m256i(Red), __m256i(Red));
  const __m256i Low = _mm256_or_si256(Apply(__m256i(BlueGreen), BlueGreenLow), Apply(Reds, RedLow));
  const __m256i High =
      _mm256_or_si256(Apply(__m256i(BlueGreen), BlueGreenHigh), Apply(Reds, RedHigh));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), _mm256_castsi256_si128(Low));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(Out + 16), _mm256_castsi256_si128(High));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 24), _mm256_extracti128_si256(Low, 1));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(Out + 40), _mm256_extracti128_si256(High, 1));
}

// A row of at least eight (sixteen) pixels in whole steps; the last step ends at the row's end
// and widens again some pixels of the step before, to the same bytes.
PELBROOK_SSE41 void Widen565Eights(const std::uint8_t* Words, std::uint8_t* Bgr, int Count) {
  for (int I = 0;; I += 8) {
    const int From = std::min(I, Count - 8);
    Widen565Eight(Words + 2 * From, Bgr + 3 * From);
    if (From + 8 == Count) return;
  }
}

PELBROOK_AVX2 void Widen565Sixteens(const std::uint8_t* Words, std::uint8_t* Bgr, int Count) {
  for (int I = 0;; I += 16) {
    const int From = std::min(I, Count - 16);
    Widen565Sixteen(Words + 2 * From, Bgr + 3 * From);
    if (From + 16 == Count) return;
  }
}

// Scale8To5 and Scale8To6 in each 16-bit lane: Q / 255 is ((Q + 1) * 257) >> 16 for every Q
// these products reach.
PELBROOK_SSE41 __m128i NarrowLanes(__m128i V, int Factor) {
  const __m128i Q =
      _mm_add_epi16(_mm_mullo_epi16(V, _mm_set1_epi16(std::int16_t(Factor))), _mm_set1_epi16(128));
  return _mm_max_epu16(_mm_mulhi_epu16(Q, _mm_set1_epi16(257)),
                       _mm_min_epu16(V, _mm_set1_epi16(1)));
}

PELBROOK_SSE41 int NarrowBgrEights(const std::uint8_t* Bgr, std::uint8_t* Words, int Count) {
  int I = 0;
  for (; I + 8 <= Count; I += 8) {
    const std::uint8_t* In = Bgr + 3 * I;
    const __m128i First = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In));
    const __m128i Second = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(In + 16));
    const __m128i Red = _mm_or_si128(Apply(First, RedFirst), Apply(Second, RedSecond));
    const __m128i Green = _mm_or_si128(Apply(First, GreenFirst), Apply(Second, GreenSecond));
    const __m128i Blue = _mm_or_si128(Apply(First, BlueFirst), Apply(Second, BlueSecond));
    const __m128i W = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(NarrowLanes(Red, 31), 11),
                                                _mm_slli_epi16(NarrowLanes(Green, 63), 5)),
                                   NarrowLanes(Blue, 31));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Words + 2 * I), W);
  }
  return I;
}

// Scale8To5 and Scale8To6 in a form the compiler vectorises.
inline unsigned Narrow5(unsigned V) {
  return V == 0 ? 0 : std::max(1u, (V * 31 + 127) / 255);
}
inline unsigned Narrow6(unsigned V) {
  return V == 0 ? 0 : std::max(1u, (V * 63 + 127) / 255);
}

// Below this many pixels a second thread costs more than it saves.
constexpr std::size_t PixelsPerThread = std::size_t(1) << 20;

}  // namespace

// Shifts that give exactly Scale5To8 and Scale6To8.
void Widen565Row(const std::uint8_t* Words, std::uint8_t* Bgr, int Count) {
  if (Count >= 16 && ProcessorHasAvx2()) return Widen565Sixteens(Words, Bgr, Count);
  if (Count >= 8 && ProcessorHasSse41()) return Widen565Eights(Words, Bgr, Count);
  for (int I = 0; I < Count; ++I) {
    const unsigned W = unsigned(Words[2 * I]) | (unsigned(Words[2 * I + 1]) << 8);
    Bgr[3 * I] = std::uint8_t(((W & 0x1F) * 527 + 23) >> 6);
    Bgr[3 * I + 1] = std::uint8_t((((W >> 5) & 0x3F) * 259 + 33) >> 6);
    Bgr[3 * I + 2] = std::uint8_t(((W >> 11) * 527 + 23) >> 6);
  }
}

void NarrowBgrRow(const std::uint8_t* Bgr, std::uint8_t* Words, int Count) {
  for (int I = ProcessorHasSse41() ? NarrowBgrEights(Bgr, Words, Count) : 0; I < Count; ++I) {
    const std::uint8_t* P = Bgr + 3 * I;
    const unsigned W = Narrow5(P[2]) << 11 | Narrow6(P[1]) << 5 | Narrow5(P[0]);
    Words[2 * I] = std::uint8_t(W);
    Words[2 * I + 1] = std::uint8_t(W >> 8);
  }
}

PELBROOK_ROW_LOOP void NarrowBgraRow(const std::uint8_t* Bgra, std::uint8_t* Words, int Count) {
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t* P = Bgra + 4 * I;
    const unsigned Seen = 0u - unsigned(P[3] >> 7);  // all ones from alpha 128 up
    const unsigned W =
        Narrow5(P[2] & Seen) << 11 | Narrow6(P[1] & Seen) << 5 | Narrow5(P[0] & Seen);
    Words[2 * I] = std::uint8_t(W);
    Words[2 * I + 1] = std::uint8_t(W >> 8);
  }
}

PELBROOK_ROW_LOOP void ArgbRowOf565(const std::uint8_t* Words, std::uint8_t* Argb, int Count) {
  for (int I = 0; I < Count; ++I) {
    const unsigned W = unsigned(Words[2 * I]) | (unsigned(Words[2 * I + 1]) << 8);
    const std::uint8_t Alpha = W == 0 ? 0 : 0xFF;
    Argb[4 * I] = std::uint8_t(((W & 0x1F) * 527 + 23) >> 6);
    Argb[4 * I + 1] = std::uint8_t((((W >> 5) & 0x3F) * 259 + 33) >> 6);
    Argb[4 * I + 2] = std::uint8_t(((W >> 11) * 527 + 23) >> 6);
    Argb[4 * I + 3] = Alpha;
  }
}

void ForEachRowBand(int Rows, std::size_t PixelsPerRow, const std::function<void(int, int)>& Work) {
  const std::size_t Pixels = std::size_t(std::max(Rows, 0)) * PixelsPerRow;
  const int Threads = int(std::clamp<std::size_t>(
      std::min<std::size_t>(std::thread::hardware_concurrency(), Pixels / PixelsPerThread), 1,
      std::size_t(std::max(Rows, 1))));
  auto Band = [&](int T) { return int(std::int64_t(Rows) * T / Threads); };
  std::vector<std::jthread> Helpers;
  for (int T = 1; T < Threads; ++T) {
    try {
      Helpers.emplace_back(Work, Band(T), Band(T + 1));
    } catch (const std::system_error&) {
      Work(Band(T), Band(T + 1));  // no thread to be had: this one does it
    }
  }
  Work(0, Band(1));
}
