#include "platform/unitPalette.h"

#include <map>
#include <mutex>

namespace {

int Distance(const TPaletteEntry& E, int R, int G, int B) {
  const int DR = int(E.Red) - R, DG = int(E.Green) - G, DB = int(E.Blue) - B;
  return DR * DR + DG * DG + DB * DB;
}

// Squared distances split per channel: for each red/green pair the partial sums are shared
// by all 32 blues, which keeps the 65536 x 256 search to a few milliseconds.
std::array<std::uint8_t, 65536> BuildTable565(const TPaletteEntries& Entries) {
  std::array<std::uint8_t, 65536> Table{};
  std::array<int, 256> Partial{};
  for (int R5 = 0; R5 < 32; ++R5) {
    const int R = Scale5To8(std::uint8_t(R5));
    for (int G6 = 0; G6 < 64; ++G6) {
      const int G = Scale6To8(std::uint8_t(G6));
      for (int I = 0; I < 256; ++I) {
        const int DR = int(Entries[I].Red) - R, DG = int(Entries[I].Green) - G;
        Partial[I] = DR * DR + DG * DG;
      }
      for (int B5 = 0; B5 < 32; ++B5) {
        const int B = Scale5To8(std::uint8_t(B5));
        int Best = 0, BestDistance = 1 << 30;
        for (int I = 0; I < 256; ++I) {
          const int DB = int(Entries[I].Blue) - B;
          const int D = Partial[I] + DB * DB;
          if (D < BestDistance) {
            BestDistance = D;
            Best = I;
          }
        }
        Table[(R5 << 11) | (G6 << 5) | B5] = std::uint8_t(Best);
      }
    }
  }
  return Table;
}

struct TEntriesLess {
  bool operator()(const TPaletteEntries& A, const TPaletteEntries& B) const {
    for (int I = 0; I < 256; ++I) {
      const auto KA = std::array{A[I].Red, A[I].Green, A[I].Blue};
      const auto KB = std::array{B[I].Red, B[I].Green, B[I].Blue};
      if (KA != KB) return KA < KB;
    }
    return false;
  }
};

// Palettes are made afresh for every 8-bit bitmap, but the program uses only a handful of
// distinct ones: the tables are kept by content, a few at a time.
std::shared_ptr<const std::array<std::uint8_t, 65536>> SharedTable565(
    const TPaletteEntries& Entries) {
  static std::mutex Lock;
  static std::map<TPaletteEntries, std::shared_ptr<const std::array<std::uint8_t, 65536>>,
                  TEntriesLess>
      Tables;
  std::lock_guard Guard(Lock);
  auto Found = Tables.find(Entries);
  if (Found != Tables.end()) return Found->second;
  if (Tables.size() >= 8) Tables.erase(Tables.begin());
  auto Table = std::make_shared<const std::array<std::uint8_t, 65536>>(BuildTable565(Entries));
  Tables.emplace(Entries, Table);
  return Table;
}

}  // namespace

TPalette::TPalette(const TPaletteEntries& Entries) : FEntries(Entries) {
  for (int I = 0; I < 256; ++I)
    FColours[I] = MakeColour(Entries[I].Red, Entries[I].Green, Entries[I].Blue);
}

TPalette TPalette::Greyscale() {
  TPaletteEntries Entries;
  for (int I = 0; I < 256; ++I) Entries[I] = {std::uint8_t(I), std::uint8_t(I), std::uint8_t(I), 0};
  return TPalette(Entries);
}

const TPalette::TTable565* TPalette::Table565() const {
  if (!FTable565) FTable565 = SharedTable565(FEntries);
  return FTable565.get();
}

std::uint8_t TPalette::SearchNearest(TColour Colour) const {
  const int R = RedOf(Colour), G = GreenOf(Colour), B = BlueOf(Colour);
  int Best = 0, BestDistance = Distance(FEntries[0], R, G, B);
  for (int I = 1; I < 256 && BestDistance != 0; ++I) {
    const int D = Distance(FEntries[I], R, G, B);
    if (D < BestDistance) {
      BestDistance = D;
      Best = I;
    }
  }
  return std::uint8_t(Best);
}

std::uint8_t TPalette::NearestIndex(TColour Colour) const {
  Colour &= 0xFFFFFF;
  const std::uint16_t Word = ColourToWord565(Colour);
  if (Word565ToColour(Word) == Colour) return NearestIndexOf565(Word);
  const std::uint32_t Key = Colour | 0x80000000u;
  const std::size_t Slot = ((Colour * 2654435761u) >> 20) & (CacheSize - 1);
  if (FCacheKeys[Slot] != Key) {
    FCacheKeys[Slot] = Key;
    FCacheIndices[Slot] = SearchNearest(Colour);
  }
  return FCacheIndices[Slot];
}
