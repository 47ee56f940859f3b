#pragma once
// Colour values (0x00BBGGRR, red in the low byte), the channel scalers and the
// 5-6-5 / 5-5-5 word layouts shared by sprites and device bitmaps.

#include <algorithm>
#include <cstdint>

using TColour = std::uint32_t;

constexpr TColour ColourBlack = 0x000000;

constexpr std::uint8_t RedOf(TColour c) {
  return c & 0xFF;
}
constexpr std::uint8_t GreenOf(TColour c) {
  return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(TColour c) {
  return (c >> 16) & 0xFF;
}
constexpr TColour MakeColour(unsigned r, unsigned g, unsigned b) {
  return TColour(r) | (TColour(g) << 8) | (TColour(b) << 16);
}

// No product of these ratios falls exactly halfway, so adding half the divisor rounds exactly.
constexpr std::uint8_t Scale5To8(std::uint8_t v) {
  return std::uint8_t((v * 255u + 15u) / 31u);
}
constexpr std::uint8_t Scale6To8(std::uint8_t v) {
  return std::uint8_t((v * 255u + 31u) / 63u);
}
// A channel that is not zero never narrows to zero.
constexpr std::uint8_t Scale8To5(std::uint8_t v) {
  return v == 0 ? 0 : std::max<std::uint8_t>(1, std::uint8_t((v * 31u + 127u) / 255u));
}
constexpr std::uint8_t Scale8To6(std::uint8_t v) {
  return v == 0 ? 0 : std::max<std::uint8_t>(1, std::uint8_t((v * 63u + 127u) / 255u));
}

constexpr TColour Word565ToColour(std::uint16_t w) {
  return MakeColour(Scale5To8((w >> 11) & 0x1F), Scale6To8((w >> 5) & 0x3F), Scale5To8(w & 0x1F));
}
constexpr TColour Word555ToColour(std::uint16_t w) {
  return MakeColour(Scale5To8((w >> 10) & 0x1F), Scale5To8((w >> 5) & 0x1F), Scale5To8(w & 0x1F));
}
constexpr std::uint16_t ColourToWord565(TColour c) {
  return std::uint16_t(Scale8To5(RedOf(c)) * 2048u + Scale8To6(GreenOf(c)) * 32u +
                       Scale8To5(BlueOf(c)));
}
constexpr std::uint16_t ColourToWord555(TColour c) {
  return std::uint16_t(Scale8To5(RedOf(c)) * 1024u + Scale8To5(GreenOf(c)) * 32u +
                       Scale8To5(BlueOf(c)));
}
