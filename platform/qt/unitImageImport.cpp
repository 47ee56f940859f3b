#include "platform/qt/unitImageImport.h"

#include <array>

#include "platform/qt/unitQtImageBridge.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitFileIO.h"

TImageImport::TImageImport(const std::string& Path) {
  std::array<std::uint8_t, 8> Signature{};
  {
    TFileReader Reader;
    Reader.OpenOrThrow(Path);
    if (!IsPngData({Signature.data(), Reader.ReadUpTo(Signature.data(), Signature.size())})) {
      FBmp = std::make_unique<TBmpImport>(Path);
      return;
    }
  }
  // The file's bytes go as soon as they are decoded, before the sprite is made.
  FImage = DecodePng(ReadWholeFile(Path, MaxBmpFileSize));
}

std::unique_ptr<TS16Sprite> TImageImport::MakeSprite() {
  if (FBmp) return FBmp->MakeSprite();
  auto Sprite = SpriteOfImage(FImage);
  FImage = QImage();
  return Sprite;
}
