#include "sprites/unitSpriteFileRoutes.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <new>
#include <vector>

#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"
#include "sprites/unitPixelConversions.h"

namespace {

[[noreturn]] void RaiseOutOfMemory(const std::string& Path) {
  throw ESpriteError("Not enough memory to open " + Path);
}

// The reader speaks about one bad sprite of a file at most, and is itself again afterwards.
class TQuietAfterFirst {
 public:
  explicit TQuietAfterFirst(TSprLoader& Loader) : FLoader(Loader) {}
  ~TQuietAfterFirst() { FLoader.SetQuiet(false); }
  void LeftOut() { FLoader.SetQuiet(true); }

 private:
  TSprLoader& FLoader;
};

}  // namespace

bool IsSprFileName(const std::string& Path) {
  return NameEndsWith(Path, ".spr");
}

bool IsSpriteFileName(const std::string& Path) {
  return IsSprFileName(Path) || NameEndsWith(Path, ".s16");
}

std::string TFileExtent::Text(const std::string& Path) const {
  const std::string Start = Path + " holds " + std::to_string(Held) + " bytes, ";
  if (Held < Named)
    return Start + std::to_string(Named - Held) +
           " fewer than its directory names; the pixels missing are black.";
  return Start + std::to_string(Held - Named) + " more than its directory names.";
}

int OpenS16Document(TS16File& File, const std::string& Path, TFileExtent* Extent) try {
  File.LoadFromFile(Path);
  if (Extent) {
    std::error_code Unknown;  // a size that cannot be had counts as none
    const std::uintmax_t Held = std::filesystem::file_size(Path, Unknown);
    Extent->Held = Unknown ? 0 : Held;
    Extent->Named = 6 + 8 * std::uint64_t(File.Count());
    for (int I = 0; I < File.Count(); ++I) Extent->Named += 2 * File.GetSprite(I).PixelCount();
  }
  const int Format = File.Is555 ? SaveFormatS16_555 : SaveFormatS16_565;
  File.SetFormat(false);
  return Format;
} catch (const std::bad_alloc&) {
  RaiseOutOfMemory(Path);
}

TSprPixelSource SprPixelsOf(TFileReader& Reader, std::vector<std::uint8_t>& Block) {
  return [&Reader, &Block](const TSprEntry& Entry) {
    if (!Entry.InFile(Reader.Size())) Reader.RaiseReadBeyondEnd();
    Block.resize(std::size_t(Entry.PixelCount()));
    Reader.Seek(Entry.Offset);
    Reader.Read(Block.data(), Block.size());
    return Block.data();
  };
}

std::unique_ptr<TS16Sprite> SpriteOfSprBitmap(const TBitmap& Bitmap) {
  TBitmap Bitmap16(TPixelFormat::pf16bit, Bitmap.Width(), Bitmap.Height());
  ConvertBitmap(Bitmap, Bitmap16);
  auto Sprite = std::make_unique<TS16Sprite>();
  BitmapToSprite(Bitmap16, *Sprite);
  return Sprite;
}

std::string TSprOpenResult::UnreadText(const std::string& Path) const {
  return std::to_string(LeftOut) + " of the " + std::to_string(Count) + " sprites in " + Path +
         " could not be read";
}

std::string TSprOpenResult::LeftOutText(const std::string& Path) const {
  return UnreadText(Path) + (LeftOut == 1 ? " and was left out." : " and were left out.");
}

TSprOpenResult OpenSprDocument(TS16File& File, const std::string& Path, TSprLoader& Loader) try {
  File.Clear();
  File.SetFormat(false);
  // The directory first, then only the pixels its sprites name.
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  const TLargeBytes Directory = ReadSprDirectory(Reader);
  TSprOpenResult Result;
  Result.Count = Loader.ReadSprCount(Directory);
  CheckSprPixelTotal(Directory, Reader.Size(), Path);
  std::vector<std::uint8_t> Block;
  const TSprPixelSource Pixels = SprPixelsOf(Reader, Block);
  TQuietAfterFirst Quiet(Loader);
  // Entries beyond the end of a directory cut short are left out without asking the reader.
  const int InFile = SprEntriesInFile(Directory);
  std::uint64_t End = 2 + 8 * std::uint64_t(Result.Count);
  for (int I = 0; I < InFile; ++I) {
    const TSprEntry Entry = ReadSprEntry(Directory, I);
    End = std::max(End, std::uint64_t(Entry.Offset) + Entry.PixelCount());
    // Only the reader's refusals leave a sprite out; anything else, running out of memory
    // among them, fails the open.
    const TBitmap* SpriteBitmap = nullptr;
    bool Told = true;
    try {
      SpriteBitmap = Loader.ReadSprSprite(Directory, I, Pixels);
    } catch (const EInOutError&) {
      Told = false;
    }
    if (!SpriteBitmap) {
      if (Result.LeftOut++ == 0) Result.Told = Told ? 1 : 0;
      Quiet.LeftOut();
      continue;
    }
    File.Add(SpriteOfSprBitmap(*SpriteBitmap));
  }
  Result.LeftOut += Result.Count - InFile;
  Result.Extent = {Reader.Size(), End};
  Result.Whole = Result.LeftOut == 0 && Result.Extent.Whole();
  return Result;
} catch (const std::bad_alloc&) {
  RaiseOutOfMemory(Path);
} catch (const EInOutError& Error) {
  // The reader sees bytes, not files: the file is named here.
  if (ErrorNames(Error, Path)) throw;
  RaiseWithReason(EInOutError(Error.what()), Path + ": " + ErrorReason(Error));
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
