#include "sprites/unitSpriteFileRoutes.h"

#include <exception>

#include "platform/unitFileIO.h"
#include "sprites/unitPixelConversions.h"

bool IsSprFileName(const std::string& Path) {
  return NameEndsWith(Path, ".spr");
}

bool IsSpriteFileName(const std::string& Path) {
  return IsSprFileName(Path) || NameEndsWith(Path, ".s16");
}

int OpenS16Document(TS16File& File, const std::string& Path) {
  File.LoadFromFile(Path);
  const int Format = File.Is555 ? SaveFormatS16_555 : SaveFormatS16_565;
  File.SetFormat(false);
  return Format;
}

int OpenSprDocument(TS16File& File, const std::string& Path, TSprLoader& Loader) {
  File.Clear();
  File.SetFormat(false);
  const int Count = Loader.ReadSprCount(Path);
  for (int I = 0; I < Count; ++I) {
    // A sprite that cannot be read is left out; the reader has said why.
    try {
      auto Sprite = std::make_unique<TS16Sprite>();
      const TBitmap* SpriteBitmap = Loader.ReadSprSprite(Path, I);
      if (!SpriteBitmap) continue;
      TBitmap Bitmap16(TPixelFormat::pf16bit, SpriteBitmap->Width(), SpriteBitmap->Height());
      ConvertBitmap(*SpriteBitmap, Bitmap16);
      BitmapToSprite(Bitmap16, *Sprite);
      File.Add(std::move(Sprite));
    } catch (const std::exception&) {
    }
  }
  return SaveFormatSpr;
}

void SaveDocument(TS16File& File, int SaveFormat, const std::string& FileName,
                  IProgressReport& Progress) {
  switch (SaveFormat) {
    case SaveFormatSpr:
      WriteSprFile(File, FileName, Progress);
      return;
    case SaveFormatS16_555:
      File.SetFormat(true);
      try {
        File.SaveToFile(FileName);
      } catch (...) {
        File.SetFormat(false);
        throw;
      }
      File.SetFormat(false);
      return;
    default:
      File.SetFormat(false);
      File.SaveToFile(FileName);
      return;
  }
}
