#include "sprites/unitLeadingSprites.h"

#include <algorithm>

#include "platform/unitConsoleWindowServices.h"
#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"
#include "sprites/unitSprLoader.h"
#include "sprites/unitSpriteFileRoutes.h"

namespace {

using TSprites = std::vector<std::unique_ptr<TS16Sprite>>;

// Counts a sprite of Pixels pixels in while the total stays within the bound.
class TPixelBudget {
 public:
  TPixelBudget(std::uint64_t Most, const std::string& Path) : FLeft(Most), FPath(Path) {}
  bool Admit(std::uint64_t Pixels, bool First) {
    if (Pixels <= FLeft) {
      FLeft -= Pixels;
      return true;
    }
    if (First)
      throw ESpriteError("The first sprite of " + FPath +
                         " is too large to preview: " + std::to_string(Pixels) + " pixels");
    return false;
  }

 private:
  std::uint64_t FLeft;
  const std::string& FPath;
};

// The pixel blocks of .s16 sprites lie back to back after the directory.
TSprites ReadLeadingS16(TFileReader& Reader, int Most, TPixelBudget& Budget) {
  const std::uint32_t Flags = Reader.ReadU32();
  const int Count = Reader.ReadU16();
  std::uint64_t Block = 6 + 8 * std::uint64_t(Count);
  TSprites Sprites;
  for (int Index = 0; Index < std::min(Count, Most); ++Index) {
    Reader.Seek(6 + 8 * std::uint64_t(Index) + 4);
    const std::uint16_t Width = Reader.ReadU16();
    const std::uint16_t Height = Reader.ReadU16();
    const std::uint64_t Bytes = 2 * std::uint64_t(Width) * Height;
    if (!Budget.Admit(Bytes / 2, Sprites.empty())) break;
    if (Block + Bytes > Reader.Size()) Reader.RaiseReadBeyondEnd();
    auto& Sprite = *Sprites.emplace_back(std::make_unique<TS16Sprite>());
    Sprite.SetWidth(Width);
    Sprite.SetHeight(Height);
    Sprite.SetLayoutFlag((Flags & 1) == 0);
    Reader.Seek(Block);
    Reader.Read(Sprite.PixelData(), std::size_t(Bytes));
    Sprite.SetFormat(false);
    Block += Bytes;
  }
  return Sprites;
}

TSprites ReadLeadingSpr(TFileReader& Reader, int Most, TPixelBudget& Budget) {
  const TLargeBytes Directory = ReadSprDirectory(Reader);
  TConsoleWindowServices Quiet("pelbrook");  // never asked: the loader keeps quiet
  TSprLoader Loader(Quiet);
  Loader.SetQuiet(true);
  const int Count = std::min(Loader.ReadSprCount(Directory), Most);
  std::vector<std::uint8_t> Block;
  const TSprPixelSource Pixels = SprPixelsOf(Reader, Block);
  TSprites Sprites;
  for (int Index = 0; Index < Count; ++Index) {
    if (!Budget.Admit(ReadSprEntry(Directory, Index).PixelCount(), Sprites.empty())) break;
    const TBitmap* Bitmap = Loader.ReadSprSprite(Directory, Index, Pixels);
    Sprites.push_back(Bitmap ? SpriteOfSprBitmap(*Bitmap) : std::make_unique<TS16Sprite>());
  }
  return Sprites;
}

}  // namespace

TSprites ReadLeadingSprites(const std::string& Path, bool AsSpr, int Most,
                            std::uint64_t MaxPixels) try {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  TPixelBudget Budget(MaxPixels, Path);
  TSprites Sprites =
      AsSpr ? ReadLeadingSpr(Reader, Most, Budget) : ReadLeadingS16(Reader, Most, Budget);
  if (Sprites.empty()) throw ESpriteError(Path + " holds no sprites");
  return Sprites;
} catch (const EInOutError& Error) {
  if (ErrorNames(Error, Path)) throw;
  RaiseWithReason(EInOutError(Error.what()), Path + ": " + ErrorReason(Error));
}
