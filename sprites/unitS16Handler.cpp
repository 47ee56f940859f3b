#include "sprites/unitS16Handler.h"

#include <algorithm>
#include <cstring>

#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"

void TS16Sprite::SetHeight(std::uint16_t Value) {
  FHeight = Value;
  Resize();
}

void TS16Sprite::SetWidth(std::uint16_t Value) {
  FWidth = Value;
  Resize();
}

void TS16Sprite::AllocateUncleared(std::uint16_t Width, std::uint16_t Height) {
  FWidth = Width;
  FHeight = Height;
  FPixelCount = std::size_t(Width) * std::size_t(Height);
  FPixelData =
      FPixelCount == 0 ? nullptr : std::make_unique_for_overwrite<std::uint16_t[]>(FPixelCount);
}

void TS16Sprite::Resize() {
  AllocateUncleared(FWidth, FHeight);
  std::fill_n(FPixelData.get(), FPixelCount, 0);
}

std::unique_ptr<TS16Sprite> TS16Sprite::Clone() const {
  auto Copy = std::make_unique<TS16Sprite>();
  Copy->AllocateUncleared(FWidth, FHeight);
  std::copy_n(FPixelData.get(), FPixelCount, Copy->FPixelData.get());
  Copy->FIs555 = FIs555;
  return Copy;
}

bool TS16Sprite::SamePixels(const TS16Sprite& Other) const {
  return FWidth == Other.FWidth && FHeight == Other.FHeight && FIs555 == Other.FIs555 &&
         std::equal(FPixelData.get(), FPixelData.get() + FPixelCount, Other.FPixelData.get());
}

std::size_t TS16Sprite::CheckedIndex(int X, int Y) const {
  if (X > int(FWidth) - 1) throw ESpriteError("Pixel Reference off right of image");
  if (Y > int(FHeight) - 1) throw ESpriteError("Pixel Reference Off bottom of image");
  if (X < 0 || Y < 0) throw ESpriteError("Negative Pixel Reference in Sprite Access");
  return std::size_t(X) + std::size_t(Y) * FWidth;
}

TColour TS16Sprite::ReadPixel(int X, int Y) const {
  const std::uint16_t Word = FPixelData[CheckedIndex(X, Y)];
  return FIs555 ? Word555ToColour(Word) : Word565ToColour(Word);
}

void TS16Sprite::WritePixel(int X, int Y, TColour Colour) {
  FPixelData[CheckedIndex(X, Y)] = FIs555 ? ColourToWord555(Colour) : ColourToWord565(Colour);
}

std::uint16_t Word555To565(std::uint16_t Word) {
  return std::uint16_t((Word & 0x001F) | ((Word & 0x03E0) << 1) | ((Word & 0x7C00) << 1));
}

std::uint16_t Word565To555(std::uint16_t Word) {
  unsigned Green5 = (Word >> 6) & 0x1F;
  // The lowest green bit alone must not turn the pixel black, and so transparent.
  if (Green5 == 0 && (Word & 0x07E0) != 0) Green5 = 1;
  return std::uint16_t((Word & 0x001F) | (Green5 << 5) | (((Word >> 11) & 0x1F) << 10));
}

void TS16Sprite::SetFormat(bool Value) {
  if (Value == FIs555) return;
  std::uint16_t* const End = FPixelData.get() + FPixelCount;
  for (std::uint16_t* Word = FPixelData.get(); Word != End; ++Word)
    *Word = Value ? Word565To555(*Word) : Word555To565(*Word);
  FIs555 = Value;
}

void TS16File::Clear() {
  FilePath.clear();
  for (auto& Sprite : Sprites) Sprite.reset();  // front to back
  Sprites.clear();
  Is555 = false;
}

int TS16File::Add(std::unique_ptr<TS16Sprite> Sprite) {
  Sprites.push_back(std::move(Sprite));
  return Count() - 1;
}

void TS16File::Insert(std::unique_ptr<TS16Sprite> Sprite, int Index) {
  if (Index < 0 || Index > Count()) throw std::out_of_range("List index out of bounds");
  Sprites.insert(Sprites.begin() + Index, std::move(Sprite));
}

void TS16File::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw std::out_of_range("List index out of bounds");
  Sprites.erase(Sprites.begin() + Index);
}

std::vector<std::unique_ptr<TS16Sprite>> TS16File::Take(int Index, int Count) {
  if (Index < 0 || Count < 0 || Index + Count > this->Count())
    throw std::out_of_range("List index out of bounds");
  const auto First = Sprites.begin() + Index;
  std::vector<std::unique_ptr<TS16Sprite>> Run(std::make_move_iterator(First),
                                               std::make_move_iterator(First + Count));
  Sprites.erase(First, First + Count);
  return Run;
}

void TS16File::Put(int Index, std::vector<std::unique_ptr<TS16Sprite>> Run) {
  if (Index < 0 || Index > Count()) throw std::out_of_range("List index out of bounds");
  Sprites.insert(Sprites.begin() + Index, std::make_move_iterator(Run.begin()),
                 std::make_move_iterator(Run.end()));
}

TS16Sprite& TS16File::GetSprite(int Index) const {
  if (Index < 0 || Index >= Count()) throw ESpriteError("List Index Out of Bounds");
  return *Sprites[std::size_t(Index)];
}

void TS16File::SetFormat(bool Value) {
  Is555 = Value;
  for (auto& Sprite : Sprites) Sprite->SetFormat(Value);
}

void TS16File::LoadFromFile(const std::string& Path) {
  Clear();
  TFileReader File;
  if (!File.Open(Path))
    RaiseWithReason(ESpriteError("Unable to open file " + Path), File.Failure());
  const std::uint32_t Flags = File.ReadU32();
  const std::uint16_t SpriteCount = File.ReadU16();
  Is555 = (Flags & 1) == 0;
  const std::uint64_t DirectoryEnd = 6 + 8 * std::uint64_t(SpriteCount);
  const std::uint64_t PixelBytesInFile =
      File.Size() > DirectoryEnd ? File.Size() - DirectoryEnd : 0;
  std::uint64_t ClaimedPixelBytes = 0;
  for (int I = 0; I < SpriteCount; ++I) {
    auto& Sprite = *Sprites.emplace_back(std::make_unique<TS16Sprite>());
    File.ReadU32();  // the offset: blocks are read back to back whatever it says
    const std::uint16_t Width = File.ReadU16();
    const std::uint16_t Height = File.ReadU16();
    ClaimedPixelBytes += std::uint64_t(Width) * Height * 2;
    if (ClaimedPixelBytes > PixelBytesInFile + MaxMissingPixelBytes)
      throw ESpriteError("The sprite directory of " + Path +
                         " claims far more pixel data than the file holds");
    Sprite.AllocateUncleared(Width, Height);
    Sprite.SetLayoutFlag(Is555);
  }
  // A block cut short keeps what was read, the rest is 0, and the load goes on.
  for (auto& Sprite : Sprites) {
    const std::size_t Bytes = Sprite->PixelCount() * 2;
    const std::size_t Read = File.ReadUpTo(Sprite->PixelData(), Bytes);
    if (Read < Bytes)
      std::memset(reinterpret_cast<char*>(Sprite->PixelData()) + Read, 0, Bytes - Read);
  }
  File.Close();
  FilePath = Path;
}

void TS16File::SaveToFile(const std::string& Path) {
  FilePath = Path;
  Save();
}

void TS16File::Save() {
  if (Count() > MaxSprites)
    throw ESpriteError("Unable to save " + std::to_string(Count()) +
                       " sprites: a sprite file holds at most " + std::to_string(MaxSprites));
  std::uint64_t End = 6 + 8 * std::uint64_t(Count());
  for (const auto& Sprite : Sprites) End += std::uint64_t(Sprite->PixelCount()) * 2;
  if (End > 0xFFFFFFFFu)
    throw ESpriteError("Unable to save to: " + FilePath + " (more than 4 GB of pixel data)");

  TSafeFileWriter File;
  if (!File.Create(FilePath))
    RaiseWithReason(ESpriteError("Unable to save to: " + FilePath), File.Failure());
  SetFormat(Is555);
  File.WriteU32(Is555 ? 0 : 1);
  File.WriteU16(std::uint16_t(Count()));
  std::uint32_t Offset = std::uint32_t(6 + 8 * Count());
  for (const auto& Sprite : Sprites) {
    File.WriteU32(Offset);
    File.WriteU16(Sprite->Width());
    File.WriteU16(Sprite->Height());
    Offset += std::uint32_t(Sprite->PixelCount() * 2);
  }
  for (const auto& Sprite : Sprites) File.Write(Sprite->PixelData(), Sprite->PixelCount() * 2);
  File.Commit();
}
