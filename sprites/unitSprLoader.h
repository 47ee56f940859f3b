#pragma once
// Tamblings 1 .spr files: 8-bit pixels indexing the fixed palette. Sprites are read one at a
// time into one shared 8-bit bitmap; the writer converts the document's 5-6-5 sprites.

#include <string>

#include "platform/unitBitmap.h"
#include "platform/unitWindowServices.h"
#include "sprites/unitProgress.h"
#include "sprites/unitS16Handler.h"

class TSprLoader {
 public:
  explicit TSprLoader(IWindowServices& Services) : FServices(Services) {}

  int ReadSprCount(const std::string& Path);
  // The shared bitmap holding sprite Index, valid until the next read; nullptr when the
  // sprite cannot be read (the user has been told why).
  const TBitmap* ReadSprSprite(const std::string& Path, int Index);

 private:
  IWindowServices& FServices;
  TBitmap FSharedBitmap{TPixelFormat::pf8bit};
};

// Writes File's sprites (5-6-5) to FileName as an .spr file, reporting progress per sprite.
void WriteSprFile(const TS16File& File, const std::string& FileName, IProgressReport& Progress);
