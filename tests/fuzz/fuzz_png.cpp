// Any bytes: Qt's PNG decoder behind the program's checks decodes them or they are refused with
// ESpriteError, within memory bounded by their size; what is decoded is never empty. Where
// libpng reads the rows straight into a sprite, the sprite is the one Qt's image makes, and
// bytes that Qt refuses are never read.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/png/unitPngRowReader.h"
#include "platform/qt/unitQtImageBridge.h"
#include "platform/qt/unitQtImageFiles.h"

namespace {

bool SameSprites(const TS16Sprite& A, const TS16Sprite& B) {
  return A.Width() == B.Width() && A.Height() == B.Height() &&
         std::equal(A.PixelData(), A.PixelData() + A.PixelCount(), B.PixelData());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  std::unique_ptr<TS16Sprite> Rows;
  try {
    const TPngForDecoding Png = CheckedPng(TLargeBytes(Data, Data + Size));
    Rows = SpriteOfPngRows(Png.Bytes);
    const QImage Image = DecodeCheckedPng(Png);
    const auto Bitmap = BitmapOfImage(Image);
    if (Bitmap->Width() <= 0 || Bitmap->Height() <= 0) std::abort();
    if (Rows && !SameSprites(*Rows, *SpriteOfImage(Image))) std::abort();
  } catch (const ESpriteError&) {
    if (Rows) std::abort();
  }
  return 0;
}
