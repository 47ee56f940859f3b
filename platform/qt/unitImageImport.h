#pragma once
// A picture file opened for Import From, in the two steps the command takes: opening reads the
// file as far as it must to know that it is a picture, which is where a file fails to load;
// then the sprite is made, straight from the file's rows. A PNG becomes its sprite as it is
// read.

#include <memory>
#include <string>

#include "sprites/unitBmpStreamRoutes.h"
#include "sprites/unitS16Handler.h"

class TImageImport {
 public:
  // Raises what LoadImageFile raises for a file that does not load.
  explicit TImageImport(const std::string& Path);
  // The sprite that SpriteFromImportedBitmap makes of LoadImageFile's bitmap.
  std::unique_ptr<TS16Sprite> MakeSprite();

 private:
  std::unique_ptr<TBmpImport> FBmp;
  std::unique_ptr<TS16Sprite> FSprite;
};
