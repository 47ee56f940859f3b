#include "sprites/unitS16Handler.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"
#include "platform/unitLittleEndian.h"

ESpriteError OversizedDirectoryError(const std::string& Path) {
  return ESpriteError("The sprite directory of " + Path +
                      " claims far more pixel data than the file holds");
}

void TS16Sprite::SetHeight(std::uint16_t Value) {
  FHeight = Value;
  Resize();
}

void TS16Sprite::SetWidth(std::uint16_t Value) {
  FWidth = Value;
  Resize();
}

// The pages of pixels that a file cut short never filled are not even touched.
void TS16Sprite::Resize() {
  FPixelData.reset();  // the old pixels go before the new ones come
  FPixelCount = std::size_t(FWidth) * std::size_t(FHeight);
  if (FPixelCount == 0) return;
  FPixelData = {
      static_cast<std::uint16_t*>(AllocateClearedBlock(FPixelCount * sizeof(std::uint16_t))),
      TFreeWords{FPixelCount}};
  if (!FPixelData) {
    FPixelCount = 0;
    throw std::bad_alloc();
  }
}

std::unique_ptr<TS16Sprite> TS16Sprite::Clone() const {
  auto Copy = std::make_unique<TS16Sprite>();
  Copy->FWidth = FWidth;
  Copy->FHeight = FHeight;
  Copy->Resize();
  std::copy_n(FPixelData.get(), FPixelCount, Copy->FPixelData.get());
  Copy->FIs555 = FIs555;
  return Copy;
}

bool TS16Sprite::SamePixels(const TS16Sprite& Other) const {
  return FWidth == Other.FWidth && FHeight == Other.FHeight && FIs555 == Other.FIs555 &&
         std::equal(FPixelData.get(), FPixelData.get() + FPixelCount, Other.FPixelData.get());
}

void TS16Sprite::CopyWords(const TS16Sprite& From, int X, int Y, int ToX, int ToY, int Width,
                           int Height) {
  if (Width == 0) return;  // a sprite without pixels may have no buffer at all
  for (int Row = 0; Row < Height; ++Row)
    std::copy_n(From.PixelData() + std::size_t(Y + Row) * From.Width() + X, Width,
                FPixelData.get() + std::size_t(ToY + Row) * FWidth + ToX);
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
  std::uint16_t* const Words = FPixelData.get();
  // One plain loop for each way, which the compiler vectorises.
  if (Value)
    std::transform(Words, Words + FPixelCount, Words, [](auto W) { return Word565To555(W); });
  else
    std::transform(Words, Words + FPixelCount, Words, [](auto W) { return Word555To565(W); });
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

bool TS16File::LoadFromFile(const std::string& Path) {
  Clear();
  TFileReader File;
  if (!File.Open(Path))
    RaiseWithReason(ESpriteError("Unable to open file " + Path), File.Failure());
  const std::uint32_t Flags = File.ReadU32();
  const std::uint16_t SpriteCount = File.ReadU16();
  Is555 = (Flags & 1) == 0;
  // The whole directory is checked before anything is allocated for it.
  std::vector<std::pair<std::uint16_t, std::uint16_t>> Sides(SpriteCount);
  std::uint64_t ClaimedPixelBytes = 0;
  for (auto& [Width, Height] : Sides) {
    File.ReadU32();  // the offset: blocks are read back to back whatever it says
    Width = File.ReadU16();
    Height = File.ReadU16();
    ClaimedPixelBytes += std::uint64_t(Width) * Height * 2;
  }
  const std::uint64_t DirectoryEnd = 6 + 8 * std::uint64_t(SpriteCount);
  const std::uint64_t PixelBytesInFile =
      File.Size() > DirectoryEnd ? File.Size() - DirectoryEnd : 0;
  if (ClaimedPixelBytes > PixelBytesInFile + MaxMissingPixelBytes)
    throw OversizedDirectoryError(Path);
  // A block cut short keeps what was read, the rest stays 0, and the load goes on.
  for (const auto& [Width, Height] : Sides) {
    auto& Sprite = *Sprites.emplace_back(std::make_unique<TS16Sprite>());
    Sprite.SetWidth(Width);
    Sprite.SetHeight(Height);
    Sprite.SetLayoutFlag(Is555);
    File.ReadUpTo(Sprite.PixelData(), Sprite.PixelCount() * 2);
  }
  const bool Whole = File.Size() == DirectoryEnd + ClaimedPixelBytes;
  File.Close();
  FilePath = Path;
  return Whole;
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
  std::vector<std::uint8_t> Header(6 + 8 * std::size_t(Count()));
  PutLe32(&Header[0], Is555 ? 0 : 1);
  PutLe16(&Header[4], std::uint16_t(Count()));
  std::uint32_t Offset = std::uint32_t(Header.size());
  std::vector<iovec> Blocks = {{Header.data(), Header.size()}};
  for (std::size_t I = 0; I < Sprites.size(); ++I) {
    const TS16Sprite& Sprite = *Sprites[I];
    std::uint8_t* Entry = &Header[6 + 8 * I];
    PutLe32(Entry, Offset);
    PutLe16(Entry + 4, Sprite.Width());
    PutLe16(Entry + 6, Sprite.Height());
    Offset += std::uint32_t(Sprite.PixelCount() * 2);
    if (Sprite.PixelCount() != 0)
      Blocks.push_back({const_cast<std::uint16_t*>(Sprite.PixelData()), Sprite.PixelCount() * 2});
  }
  File.WriteBlocks(Blocks);
  File.Commit();
}
