#pragma once
// Composite sprites drawn as text, one string per row: '.' the grey padding, '0' transparent
// black, any other character a colour of its own.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/SpriteFactory.h"

using TArt = std::vector<std::string>;

constexpr std::uint16_t ArtPadding = 0x8410;

inline std::uint16_t ArtWord(char C) {
  return C == '.' ? ArtPadding : C == '0' ? 0 : std::uint16_t(0x1000 + (unsigned char)C);
}

inline std::unique_ptr<TS16Sprite> DrawSheet(const TArt& Art) {
  TWords Words;
  for (const std::string& Row : Art)
    for (char C : Row) Words.push_back(ArtWord(C));
  return MakeSprite(Art.empty() ? 0 : int(Art[0].size()), int(Art.size()), Words);
}
