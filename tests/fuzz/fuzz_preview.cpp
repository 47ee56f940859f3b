// Any bytes previewed as an .s16 and as an .spr file give a picture or raise the model's, the
// platform's or the thumbnail maker's error.

#include "imaging/unitFilePreview.h"
#include "imaging/unitThumbnailMaker.h"
#include "platform/unitFileIO.h"
#include "sprites/unitLeadingSprites.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string& Path = WriteFuzzFile(Data, Size);
  for (const bool AsSpr : {false, true}) {
    try {
      MakePreview(ReadLeadingSprites(Path, AsSpr, MaxPreviewSprites, MaxPreviewPixels), 64);
    } catch (const ESpriteError&) {
    } catch (const EInOutError&) {
    } catch (const EThumbnailError&) {
    }
  }
  return 0;
}
