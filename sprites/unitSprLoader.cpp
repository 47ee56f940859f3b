#include "sprites/unitSprLoader.h"

#include "platform/unitFileIO.h"
#include "sprites/unitPixelConversions.h"
#include "sprites/unitT1Palette.h"

int TSprLoader::ReadSprCount(const std::string& Path) {
  TFileReader File;
  File.OpenOrThrow(Path);
  return File.ReadU16();
}

const TBitmap* TSprLoader::ReadSprSprite(const std::string& Path, int Index) {
  TFileReader File;
  File.OpenOrThrow(Path);
  const int Count = File.ReadU16();
  if (Index < 0 || Index > Count - 1) {
    File.Close();
    FServices.MessageBox({"Major error in SprSize, attempt to read non-existant sprite!",
                          "Tamblings Editor (32bit)", TMsgButtons::Ok, TMsgIcon::Stop});
    FServices.Terminate();
    return nullptr;
  }
  File.Seek(2 + 8 * std::uint64_t(Index));
  const std::uint32_t Offset = File.ReadU32();
  const std::uint16_t Width = File.ReadU16();
  const std::uint16_t Height = File.ReadU16();
  if (Height == 0 || Width == 0) {
    File.Close();
    FServices.MessageBox(
        {"Erm, Wrongly sized bitmap?", "Sprite Loader", TMsgButtons::Ok, TMsgIcon::Stop});
    return nullptr;
  }
  // Checked before the bitmap grows, so no entry can make it larger than the file.
  const std::uint64_t PixelBytes = std::uint64_t(Width) * Height;
  if (Offset > File.Size() || PixelBytes > File.Size() - Offset) File.RaiseReadBeyondEnd();
  FSharedBitmap.SetPixelFormat(TPixelFormat::pf8bit);
  FSharedBitmap.SetSize(Width, Height);
  FSharedBitmap.SetPalette(CreateT1Palette());
  File.Seek(Offset);
  File.Read(FSharedBitmap.ScanLine(0), FSharedBitmap.RawSize());
  return &FSharedBitmap;
}

void WriteSprFile(const TS16File& File, const std::string& FileName, IProgressReport& Progress) {
  const int Count = File.Count();
  if (Count > TS16File::MaxSprites)
    throw ESpriteError("Unable to save " + std::to_string(Count) +
                       " sprites: a sprite file holds at most 65535");
  std::uint64_t End = 2 + 8 * std::uint64_t(Count);
  for (int I = 0; I < Count; ++I) End += File.GetSprite(I).PixelCount();
  if (End > 0xFFFFFFFFu)
    throw ESpriteError("Unable to save to: " + FileName + " (more than 4 GB of pixel data)");

  TSafeFileWriter Out;
  Out.CreateOrThrow(FileName);
  Out.WriteU16(std::uint16_t(Count));
  std::uint32_t Offset = std::uint32_t(2 + 8 * Count);
  for (int I = 0; I < Count; ++I) {
    const TS16Sprite& Sprite = File.GetSprite(I);
    Out.WriteU32(Offset);
    Offset += std::uint32_t(Sprite.PixelCount());
    Out.WriteU16(Sprite.Width());
    Out.WriteU16(Sprite.Height());
  }
  for (int I = 0; I < Count; ++I) {
    if (Count > 1) Progress.SetProgress(LoopPercent(I, Count));
    const auto Bitmap16 = SpriteToBitmap(File.GetSprite(I));
    TBitmap Bitmap8(TPixelFormat::pf8bit);
    Bitmap8.SetPalette(CreateT1Palette());
    ConvertBitmap(*Bitmap16, Bitmap8);
    Out.Write(Bitmap8.ScanLine(0), Bitmap8.RawSize());
  }
  Out.Commit();
}
