#include "sprites/unitBmpStreamRoutes.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/unitPixelRows.h"
#include "sprites/unitBitmapRoutes.h"

namespace {

// A thread reads and converts this many bytes of rows at a time: enough to keep reads large,
// few enough to stay in the processor's cache.
constexpr std::size_t ReadBandBytes = std::size_t(1) << 20;
// Rows written at a time, which the processor's cores convert together.
constexpr std::size_t WriteBandBytes = std::size_t(8) << 20;

int RowsPerBand(std::size_t BandBytes, std::size_t RowBytes) {
  return int(std::max<std::size_t>(1, BandBytes / std::max<std::size_t>(RowBytes, 1)));
}

std::uint8_t* WordsOf(TS16Sprite& Sprite, int Y) {
  return reinterpret_cast<std::uint8_t*>(Sprite.PixelData() + std::size_t(Y) * Sprite.Width());
}

const std::uint8_t* WordsOf(const TS16Sprite& Sprite, int Y) {
  return reinterpret_cast<const std::uint8_t*>(Sprite.PixelData() +
                                               std::size_t(Y) * Sprite.Width());
}

}  // namespace

TBmpImport::TBmpImport(const std::string& Path) {
  FReader.OpenOrThrow(Path);
  ReadBmpBytes(FReader, &FRows);
  if (FRows && FRows->Width <= 65535 && FRows->Height <= 65535) return;
  // Every other form, and a picture too large to become a sprite, takes the general route.
  FRows.reset();
  FReader.Seek(0);
  FBitmap = ReadBmp(ReadBmpBytes(FReader));
}

std::unique_ptr<TS16Sprite> TBmpImport::MakeSprite() {
  if (FBitmap) return SpriteFromImportedBitmap(*FBitmap);
  const TBmpRows Rows = *FRows;
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetHeight(std::uint16_t(Rows.Height));
  Sprite->SetWidth(std::uint16_t(Rows.Width));
  // Only the last row's padding may be missing from the file.
  const std::size_t RowBytes = 3 * std::size_t(Rows.Width);
  std::atomic<bool> Short = false;
  ForEachRowBand(Rows.Height, std::size_t(Rows.Width), [&](int First, int Last) {
    const int Step = RowsPerBand(ReadBandBytes, Rows.Stride);
    std::vector<std::uint8_t> Band(std::size_t(Rows.Stride) *
                                   std::size_t(std::min(Step, Last - First)));
    for (int R = First; R < Last && !Short; R += Step) {
      const int Count = std::min(Step, Last - R);
      const std::size_t Bytes = std::size_t(Rows.Stride) * std::size_t(Count - 1) + RowBytes;
      if (FReader.ReadUpToAt(Band.data(), Bytes, Rows.Offset + Rows.Stride * std::uint64_t(R)) !=
          Bytes) {
        Short = true;
        return;
      }
      for (int I = 0; I < Count; ++I) {
        const int Y = Rows.TopDown ? R + I : Rows.Height - 1 - (R + I);
        NarrowBgrRow(Band.data() + std::size_t(Rows.Stride) * std::size_t(I), WordsOf(*Sprite, Y),
                     Rows.Width);
      }
    }
  });
  if (Short) FReader.RaiseReadBeyondEnd();
  return Sprite;
}

void SaveExportBmp(const TS16Sprite& Sprite, int FilterIndex, const std::string& Path) {
  if (FilterIndex != ExportFilter24Bit && FilterIndex != ExportFilter16Bit) {
    SaveBmpFile(*MakeExportBitmap(Sprite, FilterIndex), Path);
    return;
  }
  // A 5-6-5 word never widens to black, so neither depth needs black matched again.
  const bool Wide = FilterIndex == ExportFilter24Bit;
  const TPixelFormat Format = Wide ? TPixelFormat::pf24bit : TPixelFormat::pf16bit;
  const int Width = Sprite.Width(), Height = Sprite.Height();
  const std::vector<std::uint8_t> Header =
      EncodeBmpHeader(Format, Width, Height, TPalette::Greyscale());
  const std::size_t RowBytes = std::size_t(Width) * std::size_t(BytesPerPixel(Format));
  const std::size_t Stride = (RowBytes + 3) / 4 * 4;
  const int Step = RowsPerBand(WriteBandBytes, Stride);
  TSafeFileWriter File;
  File.CreateOrThrow(Path);
  File.Write(Header.data(), Header.size());
  // Rows bottom first, the padding left as the zeros the band starts with.
  std::vector<std::uint8_t> Band(Stride * std::size_t(std::min(Step, Height)));
  for (int Done = 0; Done < Height; Done += Step) {
    const int Count = std::min(Step, Height - Done);
    ForEachRowBand(Count, std::size_t(Width), [&](int First, int Last) {
      for (int I = First; I < Last; ++I) {
        const std::uint8_t* Words = WordsOf(Sprite, Height - 1 - (Done + I));
        std::uint8_t* Row = Band.data() + Stride * std::size_t(I);
        if (Wide)
          Widen565Row(Words, Row, Width);
        else
          std::memcpy(Row, Words, RowBytes);
      }
    });
    File.Write(Band.data(), Stride * std::size_t(Count));
  }
  File.Commit();
}
