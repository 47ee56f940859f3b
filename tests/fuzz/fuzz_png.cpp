// Any bytes: Qt's PNG decoder behind the program's checks decodes them or they are refused with
// ESpriteError, within memory bounded by their size; what is decoded is never empty.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/qt/unitQtImageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  try {
    const auto Bitmap = ReadPng({Data, Size});
    if (Bitmap->Width() <= 0 || Bitmap->Height() <= 0) std::abort();
  } catch (const ESpriteError&) {
  }
  return 0;
}
