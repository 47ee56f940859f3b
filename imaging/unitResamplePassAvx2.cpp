// The resampling pass on eight rows at once, one row a lane. The rows are first turned so that
// the lanes of each byte lie together; a lane's sums are added in the same order and rounded
// the same way as the portable pass's, so the bits agree.

#include <immintrin.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/unitResamplePass.h"

#define PELBROOK_AVX2 __attribute__((target("avx2,fma")))

namespace {

constexpr int Lanes = 8;

// Eight rows side by side: element J holds byte J of each row, as a float.
struct alignas(32) TLanes {
  float Value[Lanes];
};

PELBROOK_AVX2 void StoreLanes(TLanes& Target, __m128i Bytes) {
  _mm256_store_ps(Target.Value, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(Bytes)));
}

// Bytes J to J + 15 of eight rows, turned into sixteen elements.
PELBROOK_AVX2 void TurnSixteenBytes(const std::uint8_t* const* Rows, std::size_t J,
                                    TLanes* Target) {
  __m128i Rows8[Lanes];
  for (int Lane = 0; Lane < Lanes; ++Lane)
    Rows8[Lane] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[Lane] + J));
  // Interleave pairs of rows, then pairs of pairs, then halves: the bytes of one column end up
  // next to each other, eight to a column.
  __m128i Pairs[Lanes];
  for (int Pair = 0; Pair < Lanes; Pair += 2) {
    Pairs[Pair] = _mm_unpacklo_epi8(Rows8[Pair], Rows8[Pair + 1]);
    Pairs[Pair + 1] = _mm_unpackhi_epi8(Rows8[Pair], Rows8[Pair + 1]);
  }
  __m128i Quads[Lanes];
  for (int Half = 0; Half < 2; ++Half)
    for (int Part = 0; Part < 2; ++Part) {
      const __m128i Low = Pairs[4 * Half + Part];
      const __m128i High = Pairs[4 * Half + Part + 2];
      Quads[4 * Half + 2 * Part] = _mm_unpacklo_epi16(Low, High);
      Quads[4 * Half + 2 * Part + 1] = _mm_unpackhi_epi16(Low, High);
    }
  for (int Quad = 0; Quad < 4; ++Quad) {
    const __m128i Columns[2] = {_mm_unpacklo_epi32(Quads[Quad], Quads[Quad + 4]),
                                _mm_unpackhi_epi32(Quads[Quad], Quads[Quad + 4])};
    for (int Pair = 0; Pair < 2; ++Pair) {
      TLanes* Column = Target + 4 * Quad + 2 * Pair;
      StoreLanes(Column[0], Columns[Pair]);
      StoreLanes(Column[1], _mm_unpackhi_epi64(Columns[Pair], Columns[Pair]));
    }
  }
}

// Rows FirstRow to FirstRow + 7 of In; lanes past its last row repeat that row, and their
// sums are not stored.
PELBROOK_AVX2 void TurnBlock(const TPixelRows& In, int FirstRow, TLanes* Block) {
  const std::uint8_t* Rows[Lanes];
  for (int Lane = 0; Lane < Lanes; ++Lane)
    Rows[Lane] = In.Row(std::min(FirstRow + Lane, In.Rows - 1));
  const std::size_t Bytes = 3 * std::size_t(In.Columns);
  std::size_t J = 0;
  for (; J + 16 <= Bytes; J += 16) TurnSixteenBytes(Rows, J, Block + J);
  for (; J < Bytes; ++J)
    for (int Lane = 0; Lane < Lanes; ++Lane) Block[J].Value[Lane] = Rows[Lane][J];
}

PELBROOK_AVX2 __m256i ClampChannels(__m256 Sums) {
  // The maximum comes first and takes 0 for a sum that is not a number; the conversion
  // rounds to nearest, ties to even.
  const __m256 Clamped =
      _mm256_min_ps(_mm256_max_ps(Sums, _mm256_setzero_ps()), _mm256_set1_ps(255));
  return _mm256_cvtps_epi32(Clamped);
}

// The eight pixels of the lanes, three bytes each, in the low 24 bytes.
PELBROOK_AVX2 __m256i PackPixels(__m256 Sums0, __m256 Sums1, __m256 Sums2) {
  const __m256i Words = _mm256_or_si256(
      _mm256_or_si256(ClampChannels(Sums0), _mm256_slli_epi32(ClampChannels(Sums1), 8)),
      _mm256_slli_epi32(ClampChannels(Sums2), 16));
  const __m256i Squeeze = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                           0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  return _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(Words, Squeeze),
                                     _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
}

PELBROOK_AVX2 void StorePixels(std::uint8_t* Target, __m256i Pixels, int Count) {
  if (Count == Lanes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Target), _mm256_castsi256_si128(Pixels));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Target + 16), _mm256_extracti128_si256(Pixels, 1));
    return;
  }
  alignas(32) std::uint8_t Bytes[32];
  _mm256_store_si256(reinterpret_cast<__m256i*>(Bytes), Pixels);
  std::memcpy(Target, Bytes, 3 * std::size_t(Count));
}

}  // namespace

bool ProcessorHasAvx2Fma() {
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

PELBROOK_AVX2 void ResamplePassAvx2(const TPixelRows& In, const TContributorLists& Lists,
                                    const TPixelRows& Out) {
  // The pass's one buffer: eight rows of In, turned, 96 bytes a pixel of a row. Every element
  // is written before it is read, so it is not cleared first.
  const auto Block = std::make_unique_for_overwrite<TLanes[]>(3 * std::size_t(In.Columns));
  for (int FirstRow = 0; FirstRow < In.Rows; FirstRow += Lanes) {
    TurnBlock(In, FirstRow, Block.get());
    const int Count = std::min(Lanes, In.Rows - FirstRow);
    for (int I = 0; I < Lists.Count(); ++I) {
      __m256 Sums0 = _mm256_setzero_ps();
      __m256 Sums1 = _mm256_setzero_ps();
      __m256 Sums2 = _mm256_setzero_ps();
      for (const TContributor& C : Lists.List(I)) {
        const TLanes* Pixel = Block.get() + 3 * std::size_t(C.Index);
        const __m256 Weight = _mm256_set1_ps(C.Weight);
        Sums0 = _mm256_fmadd_ps(Weight, _mm256_load_ps(Pixel[0].Value), Sums0);
        Sums1 = _mm256_fmadd_ps(Weight, _mm256_load_ps(Pixel[1].Value), Sums1);
        Sums2 = _mm256_fmadd_ps(Weight, _mm256_load_ps(Pixel[2].Value), Sums2);
      }
      StorePixels(Out.Row(I) + 3 * std::size_t(FirstRow), PackPixels(Sums0, Sums1, Sums2), Count);
    }
  }
}
