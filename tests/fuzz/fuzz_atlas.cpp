// Any bytes as a sprite sheet's atlas: read, or refused with ESpriteError, within memory
// bounded by their size.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "imaging/unitSheetAtlas.h"
#include "sprites/unitS16Handler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  try {
    ReadSheetAtlas(std::string_view(reinterpret_cast<const char*>(Data), Size));
  } catch (const ESpriteError&) {
  }
  return 0;
}
