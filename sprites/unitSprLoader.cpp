#include "sprites/unitSprLoader.h"

#include <algorithm>

#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"
#include "platform/unitLittleEndian.h"
#include "sprites/unitPixelConversions.h"
#include "sprites/unitT1Palette.h"

namespace {

constexpr std::size_t CountSize = 2, EntrySize = 8;

[[noreturn]] void RaiseBeyondEnd(TSprBytes File) {
  RaiseWithReason(EInOutError("Read beyond end of file"),
                  "the file holds only " + std::to_string(File.size()) + " bytes");
}

std::uint64_t EntryEnd(int Index) {
  return CountSize + EntrySize * (std::uint64_t(Index) + 1);
}

int ReadCount(TSprBytes File) {
  if (File.size() < CountSize) RaiseBeyondEnd(File);
  return GetLe16(File.data());
}

}  // namespace

// Nothing else changes the shared bitmap's format or palette.
TSprLoader::TSprLoader(IWindowServices& Services) : FServices(Services) {
  FSharedBitmap.SetPalette(CreateT1Palette());
}

int TSprLoader::ReadSprCount(TSprBytes File) const {
  return ReadCount(File);
}

TSprEntry ReadSprEntry(TSprBytes File, int Index) {
  if (EntryEnd(Index) > File.size()) RaiseBeyondEnd(File);
  const std::uint8_t* At = File.data() + EntryEnd(Index) - EntrySize;
  return {GetLe32(At), GetLe16(At + 4), GetLe16(At + 6)};
}

const TBitmap* TSprLoader::ReadSprSprite(TSprBytes File, int Index) {
  return ReadSprSprite(File, Index, [File](const TSprEntry& Entry) {
    if (!Entry.InFile(File.size())) RaiseBeyondEnd(File);
    return File.data() + Entry.Offset;
  });
}

const TBitmap* TSprLoader::ReadSprSprite(TSprBytes Directory, int Index,
                                         const TSprPixelSource& Pixels) {
  const int Count = ReadCount(Directory);
  if (Index < 0 || Index > Count - 1) {
    FServices.MessageBox({"Major error in SprSize, attempt to read non-existant sprite!",
                          "Tamblings Editor (32bit)", TMsgButtons::Ok, TMsgIcon::Stop});
    FServices.Terminate();
    return nullptr;
  }
  const TSprEntry Entry = ReadSprEntry(Directory, Index);
  if (Entry.Height == 0 || Entry.Width == 0) {
    if (!FQuiet)
      FServices.MessageBox(
          {"Erm, Wrongly sized bitmap?", "Sprite Loader", TMsgButtons::Ok, TMsgIcon::Stop});
    return nullptr;
  }
  // Found before the bitmap grows, so no entry can make it larger than the file.
  const std::uint8_t* Bits = Pixels(Entry);
  FSharedBitmap.SetSize(Entry.Width, Entry.Height);
  FSharedBitmap.WriteRawBits(Bits);
  return &FSharedBitmap;
}

int SprEntriesInFile(TSprBytes File) {
  const std::uint64_t Whole =
      (std::max<std::size_t>(File.size(), CountSize) - CountSize) / EntrySize;
  return int(std::min<std::uint64_t>(ReadCount(File), Whole));
}

TLargeBytes ReadSprDirectory(TFileReader& Reader) {
  TLargeBytes Bytes(std::size_t(std::min<std::uint64_t>(Reader.Size(), CountSize)));
  Reader.Read(Bytes.data(), Bytes.size());
  if (Bytes.size() < CountSize) return Bytes;
  const std::uint64_t DirectoryEnd = CountSize + EntrySize * GetLe16(Bytes.data());
  Bytes.resize(std::size_t(std::min(Reader.Size(), DirectoryEnd)));
  Reader.Read(Bytes.data() + CountSize, Bytes.size() - CountSize);
  return Bytes;
}

void CheckSprPixelTotal(TSprBytes Directory, std::uint64_t FileSize, const std::string& Path) {
  const int Count = ReadCount(Directory), InFile = SprEntriesInFile(Directory);
  std::uint64_t Total = 0;
  for (int I = 0; I < InFile; ++I)
    if (const TSprEntry Entry = ReadSprEntry(Directory, I); Entry.InFile(FileSize))
      Total += Entry.PixelCount();
  const std::uint64_t DirectoryEnd = CountSize + EntrySize * std::uint64_t(Count);
  const std::uint64_t PixelBytes = FileSize > DirectoryEnd ? FileSize - DirectoryEnd : 0;
  if (Total > PixelBytes + MaxSharedSprPixels) throw OversizedDirectoryError(Path);
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
