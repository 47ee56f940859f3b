// Any bytes loaded as an .s16 file either load or raise the model's or the platform's error.

#include "platform/unitFileIO.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string& Path = WriteFuzzFile(Data, Size);
  TS16File File;
  try {
    OpenS16Document(File, Path);
  } catch (const ESpriteError&) {
  } catch (const EInOutError&) {
  }
  return 0;
}
