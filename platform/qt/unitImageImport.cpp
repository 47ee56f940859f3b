#include "platform/qt/unitImageImport.h"

#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitFileIO.h"

TImageImport::TImageImport(const std::string& Path) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  if (StartsAsPng(Reader))
    FSprite = ReadPngSprite(Reader);
  else
    FBmp = std::make_unique<TBmpImport>(Path);
}

std::unique_ptr<TS16Sprite> TImageImport::MakeSprite() {
  if (FBmp) return FBmp->MakeSprite();
  return std::move(FSprite);
}
