// Any bytes opened as an .spr file give sprites, the reader's messages, or an error of the
// model or the platform.

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
  } catch (const ESpriteError&) {
  } catch (const EInOutError&) {
  }
  return 0;
}
