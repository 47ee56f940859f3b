// Any bytes read as an .spr file give sprites, a message, or the platform's error.

#include "platform/unitFileIO.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/fuzz/FuzzFile.h"
#include "tests/support/ScriptedWindowServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string& Path = WriteFuzzFile(Data, Size);
  TScriptedWindowServices Services;
  TSprLoader Loader(Services);
  TS16File File;
  try {
    OpenSprDocument(File, Path, Loader);
  } catch (const EInOutError&) {
  }
  return 0;
}
