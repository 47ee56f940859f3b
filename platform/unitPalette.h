#pragma once
// A 256-entry palette with exact nearest-colour lookups (squared RGB distance, lowest index
// on ties). Colours that 5-6-5 words widen to are answered from a table shared by every
// palette with the same entries; other colours go through a small cache.

#include <array>
#include <cstdint>
#include <memory>

#include "platform/unitColour.h"

struct TPaletteEntry {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  std::uint8_t Flags = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

using TPaletteEntries = std::array<TPaletteEntry, 256>;

class TPalette {
 public:
  static constexpr std::uint16_t Version = 0x300;
  static constexpr int NumEntries = 256;

  explicit TPalette(const TPaletteEntries& Entries);
  // Index i is the grey i, i, i: what an 8-bit bitmap shows before it is given a palette.
  static TPalette Greyscale();

  const TPaletteEntries& Entries() const { return FEntries; }
  TColour Colour(std::uint8_t Index) const { return FColours[Index]; }
  std::uint8_t NearestIndex(TColour Colour) const;
  std::uint8_t NearestIndexOf565(std::uint16_t Word) const { return (*Table565())[Word]; }

  // Exhaustive search; the reference that the fast lookups must agree with.
  std::uint8_t SearchNearest(TColour Colour) const;

 private:
  using TTable565 = std::array<std::uint8_t, 65536>;
  const TTable565* Table565() const;

  TPaletteEntries FEntries;
  std::array<TColour, 256> FColours;
  mutable std::shared_ptr<const TTable565> FTable565;
  static constexpr int CacheSize = 4096;
  mutable std::array<std::uint32_t, CacheSize> FCacheKeys{};  // colour | 0x80000000 when filled
  mutable std::array<std::uint8_t, CacheSize> FCacheIndices{};
};
