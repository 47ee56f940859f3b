#pragma once
// Sprites, documents and little-endian byte strings made up by the tests themselves.

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
  for (std::size_t I = 0; I < Words.size() && I < Sprite->PixelCount(); ++I)
    Sprite->PixelData()[I] = Words[I];
  return Sprite;
}

inline TWords SpriteWords(const TS16Sprite& Sprite) {
  return TWords(Sprite.PixelData(), Sprite.PixelData() + Sprite.PixelCount());
}

// 5-6-5 sprites of random words, some of them with a width or a height of 0.
inline void FillRandomDocument(TS16File& File, std::mt19937& Random, int Count) {
  std::uniform_int_distribution<int> Side(0, 9);
  std::uniform_int_distribution<int> Word(0, 0xFFFF);
  for (int I = 0; I < Count; ++I) {
    auto Sprite = MakeSprite(Side(Random), Side(Random));
    for (std::size_t P = 0; P < Sprite->PixelCount(); ++P)
      Sprite->PixelData()[P] = std::uint16_t(Word(Random));
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
class TLeBytes {
 public:
  TLeBytes& U16(std::uint16_t Value) {
    FBytes.push_back(std::uint8_t(Value));
    FBytes.push_back(std::uint8_t(Value >> 8));
    return *this;
  }
  TLeBytes& U32(std::uint32_t Value) {
    return U16(std::uint16_t(Value)).U16(std::uint16_t(Value >> 16));
  }
  TLeBytes& Words(const TWords& Values) {
    for (std::uint16_t Value : Values) U16(Value);
    return *this;
  }
  const TBytes& Bytes() const { return FBytes; }

 private:
  TBytes FBytes;
};
