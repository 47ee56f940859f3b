// Whole-row conversions against the pixel-by-pixel ones: every 5-6-5 word, every channel value
// and the alpha threshold, in rows that start and end inside the vector steps; and the bands
// that share a picture's rows among threads.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "platform/unitColour.h"
#include "platform/unitPixelRows.h"
#include "tests/support/CaseNames.h"

namespace {

// Every word once, scattered so that neighbours differ in every field.
std::vector<std::uint8_t> AllWords() {
  std::vector<std::uint8_t> Bytes(2 * 65536);
  for (unsigned I = 0; I < 65536; ++I) {
    const unsigned Word = I * 7919u & 0xFFFF;
    Bytes[2 * I] = std::uint8_t(Word);
    Bytes[2 * I + 1] = std::uint8_t(Word >> 8);
  }
  return Bytes;
}

// Blue, green, red, alpha: each channel runs through every value against the others.
std::vector<std::uint8_t> AllChannels() {
  std::vector<std::uint8_t> Bytes;
  for (unsigned I = 0; I < 3 * 65536; ++I)
    for (const unsigned Value : {I & 0xFF, (I >> 8) * 3 & 0xFF, (I >> 8) & 0xFF, I * 5 + 124})
      Bytes.push_back(std::uint8_t(Value));
  return Bytes;
}

std::uint16_t WordAt(const std::uint8_t* Bytes, int I) {
  return std::uint16_t(Bytes[2 * I] | Bytes[2 * I + 1] << 8);
}

// Converts pixels First .. First + Count - 1 of the case's input with the row conversion, and
// gives the first pixel whose result differs from the pixel conversion's, or -1.
struct TRowCase {
  const char* Name;
  std::function<int(int First, int Count)> FirstMismatch;
};

const std::vector<std::uint8_t>& Words() {
  static const std::vector<std::uint8_t> Bytes = AllWords();
  return Bytes;
}

const std::vector<std::uint8_t>& Channels() {
  static const std::vector<std::uint8_t> Bytes = AllChannels();
  return Bytes;
}

int WidenMismatch(int First, int Count) {
  std::vector<std::uint8_t> Bgr(3 * std::size_t(Count) + 1, 0xEE);
  Widen565Row(Words().data() + 2 * First, Bgr.data(), Count);
  for (int I = 0; I < Count; ++I) {
    const TColour C = Word565ToColour(WordAt(Words().data(), First + I));
    if (MakeColour(Bgr[3 * I + 2], Bgr[3 * I + 1], Bgr[3 * I]) != C) return I;
  }
  return Bgr.back() == 0xEE ? -1 : Count;
}

int ArgbMismatch(int First, int Count) {
  std::vector<std::uint8_t> Argb(4 * std::size_t(Count) + 1, 0xEE);
  ArgbRowOf565(Words().data() + 2 * First, Argb.data(), Count);
  for (int I = 0; I < Count; ++I) {
    const std::uint16_t Word = WordAt(Words().data(), First + I);
    const TColour C = Word565ToColour(Word);
    const std::uint8_t Expected[] = {BlueOf(C), GreenOf(C), RedOf(C), std::uint8_t(Word ? 255 : 0)};
    if (!std::equal(Expected, Expected + 4, &Argb[4 * std::size_t(I)])) return I;
  }
  return Argb.back() == 0xEE ? -1 : Count;
}

template <int BytesPerPixel>
int NarrowMismatch(int First, int Count) {
  std::vector<std::uint8_t> Out(2 * std::size_t(Count) + 1, 0xEE);
  std::vector<std::uint8_t> In;
  for (int I = First; I < First + Count; ++I)
    In.insert(In.end(), &Channels()[4 * std::size_t(I)],
              &Channels()[4 * std::size_t(I) + BytesPerPixel]);
  if (BytesPerPixel == 3)
    NarrowBgrRow(In.data(), Out.data(), Count);
  else
    NarrowBgraRow(In.data(), Out.data(), Count);
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t* P = &In[BytesPerPixel * std::size_t(I)];
    const bool Seen = BytesPerPixel == 3 || P[3] >= 128;
    const std::uint16_t Expected = Seen ? ColourToWord565(MakeColour(P[2], P[1], P[0])) : 0;
    if (WordAt(Out.data(), I) != Expected) return I;
  }
  return Out.back() == 0xEE ? -1 : Count;
}

class PixelRows : public testing::TestWithParam<TRowCase> {};

TEST_P(PixelRows, GiveWhatThePixelConversionsGive) {
  // A whole run, then rows that start off the steps and end inside one, and one too short.
  const int Rows[][2] = {{0, 65536}, {1, 7}, {3, 9}, {5, 23}, {11, 1000}, {65530, 6}};
  for (const auto& [First, Count] : Rows)
    EXPECT_EQ(GetParam().FirstMismatch(First, Count), -1) << "row " << First << " + " << Count;
}

INSTANTIATE_TEST_SUITE_P(Conversions, PixelRows,
                         testing::Values(TRowCase{"Widen565", WidenMismatch},
                                         TRowCase{"ArgbOf565", ArgbMismatch},
                                         TRowCase{"NarrowBgr", NarrowMismatch<3>},
                                         TRowCase{"NarrowBgra", NarrowMismatch<4>}),
                         [](const auto& Info) { return CaseName(Info.param.Name); });

struct TBandCase {
  int Rows;
  std::size_t PixelsPerRow;
};

class RowBands : public testing::TestWithParam<TBandCase> {};

TEST_P(RowBands, CoverEveryRowOnce) {
  const auto [Rows, PixelsPerRow] = GetParam();
  std::vector<std::atomic<int>> Visits(std::size_t(std::max(Rows, 0)));
  ForEachRowBand(Rows, PixelsPerRow, [&](int First, int Last) {
    for (int Y = First; Y < Last; ++Y) ++Visits[std::size_t(Y)];
  });
  for (int Y = 0; Y < Rows; ++Y) ASSERT_EQ(Visits[std::size_t(Y)], 1) << "row " << Y;
}

// No rows; one row of a large picture; small pictures kept on one thread; large ones shared.
INSTANTIATE_TEST_SUITE_P(Pictures, RowBands,
                         testing::Values(TBandCase{0, 100}, TBandCase{1, 1 << 22}, TBandCase{7, 3},
                                         TBandCase{4097, 1024}, TBandCase{3, 1 << 22}),
                         [](const auto& Info) {
                           return std::to_string(Info.param.Rows) + "RowsOf" +
                                  std::to_string(Info.param.PixelsPerRow);
                         });

}  // namespace
