// Any bytes: the reader decodes them or refuses them with EBmpError, within memory bounded by
// their size; what it decodes is never empty.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/unitBmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  try {
    const auto Bitmap = ReadBmp({Data, Size});
    if (Bitmap->Width() <= 0 || Bitmap->Height() <= 0) std::abort();
  } catch (const EBmpError&) {
  }
  return 0;
}
