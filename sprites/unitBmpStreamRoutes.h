#pragma once
// Import From and Export To between sprites and BMP files for pictures of any size: the rows are
// converted as they are read or written, a band at a time on the processor's cores, so neither
// the file's bytes nor an intermediate bitmap is held whole. The words and bytes are those of
// the routes in unitBitmapRoutes.

#include <memory>
#include <optional>
#include <string>

#include "platform/unitBmpCodec.h"
#include "platform/unitFileIO.h"
#include "sprites/unitS16Handler.h"

// A BMP file opened for Import From: a plain 24-bit file is read only as far as its headers, any
// other as a whole bitmap.
class TBmpImport {
 public:
  // Raises what LoadBmpFile raises for a file it cannot read.
  explicit TBmpImport(const std::string& Path);
  // The new 5-6-5 sprite that SpriteFromImportedBitmap makes of the file's bitmap. Raises
  // EInOutError when the file no longer holds its rows.
  std::unique_ptr<TS16Sprite> MakeSprite();

 private:
  TFileReader FReader;
  std::optional<TBmpRows> FRows;
  std::unique_ptr<TBitmap> FBitmap;
};

// What SaveBmpFile(*MakeExportBitmap(Sprite, FilterIndex), Path) writes.
void SaveExportBmp(const TS16Sprite& Sprite, int FilterIndex, const std::string& Path);
