#include "platform/qt/unitImageImport.h"

#include "platform/png/unitPngRowCodec.h"
#include "platform/qt/unitQtImageBridge.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitFileIO.h"

TImageImport::TImageImport(const std::string& Path) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  if (StartsAsPng(Reader)) {
    const TPngForDecoding Png = ReadCheckedPng(Reader);
    FSprite = SpriteOfPngRows(Png.Bytes);
    if (!FSprite) FImage = DecodeCheckedPng(Png);
  } else {
    FBmp = std::make_unique<TBmpImport>(Path);
  }
}

std::unique_ptr<TS16Sprite> TImageImport::MakeSprite() {
  if (FBmp) return FBmp->MakeSprite();
  if (FSprite) return std::move(FSprite);
  auto Sprite = SpriteOfImage(FImage);
  FImage = QImage();
  return Sprite;
}
