#pragma once
// Sprites, documents and little-endian byte strings made up by the tests themselves.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "sprites/unitS16Handler.h"
#include "tests/support/TempDir.h"

using TWords = std::vector<std::uint16_t>;

inline std::unique_ptr<TS16Sprite> MakeSprite(int Width, int Height, const TWords& Words = {},
                                              bool Is555 = false) {
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetWidth(std::uint16_t(Width));
  Sprite->SetHeight(std::uint16_t(Height));
  Sprite->SetLayoutFlag(Is555);
  std::copy_n(Words.begin(), std::min(Words.size(), Sprite->PixelCount()), Sprite->PixelData());
  return Sprite;
}

inline TWords SpriteWords(const TS16Sprite& Sprite) {
  return TWords(Sprite.PixelData(), Sprite.PixelData() + Sprite.PixelCount());
}

// 5-6-5 sprites of random words, some of them with a width or a height of 0.
inline void FillRandomDocument(TS16File& File, std::mt19937& Random, int Count) {
  for (int I = 0; I < Count; ++I) {
    auto Sprite = MakeSprite(int(Random() % 10), int(Random() % 10));
    std::generate_n(Sprite->PixelData(), Sprite->PixelCount(), [&] { return Random(); });
    File.Add(std::move(Sprite));
  }
}

// The message of the error of type E that Action raises; "(no error)" when it raises none.
template <class E, class F>
std::string ErrorText(F&& Action) {
  try {
    Action();
  } catch (const E& Error) {
    return Error.what();
  }
  return "(no error)";
}

// Builds file contents field by field, little-endian.
struct TLeBytes {
  TBytes Bytes;  // built so far
  TLeBytes& U16(std::uint16_t Value) {
    Bytes.insert(Bytes.end(), {std::uint8_t(Value), std::uint8_t(Value >> 8)});
    return *this;
  }
  TLeBytes& U32(std::uint32_t Value) { return U16(std::uint16_t(Value)).U16(Value >> 16); }
  TLeBytes& Words(const TWords& Values) {
    for (std::uint16_t Value : Values) U16(Value);
    return *this;
  }
};
