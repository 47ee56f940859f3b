#include "platform/png/unitPngRowReader.h"

#include <algorithm>
#include <cstring>
#include <future>
#include <optional>
#include <vector>

#include "platform/png/unitPngImageData.h"
#include "platform/png/unitPngRows.h"
#include "platform/unitPixelRows.h"
#include "platform/unitPngChunks.h"

namespace {

struct TPngRowsStart {
  std::uint32_t Width = 0, Height = 0;
  TPngPixelForm Form;
  std::size_t Data = 0;  // where the first IDAT chunk begins
};

// What comes before the image data, when the file is of a kind read here.
std::optional<TPngRowsStart> RowsStartOf(std::span<const std::uint8_t> Png) {
  std::size_t At = PngSignatureSize;
  const TPngChunk Header = NextPngChunk(Png, At);
  const std::uint8_t* H = Header.Data.data();
  const std::uint8_t Depth = H[8], Colour = H[9], Compression = H[10], Filtering = H[11],
                     Interlace = H[12];
  if (!PngChunkCrcRight(Header) || Depth != 8 || Compression || Filtering || Interlace) return {};
  TPngRowsStart Start;
  Start.Width = PngBe32(H);
  Start.Height = PngBe32(H + 4);
  switch (Colour) {
    case 2:
      Start.Form.Pixels = EPngPixels::Rgb;
      break;
    case 6:
      Start.Form.Pixels = EPngPixels::Rgba;
      break;
    case 4:
      Start.Form.Pixels = EPngPixels::GreyAlpha;
      break;
    default:
      return {};
  }
  if (At >= Png.size()) return {};
  std::size_t Next = At;
  TPngChunk Chunk = NextPngChunk(Png, Next);
  if (Chunk.Is("tRNS")) {
    // Three 16-bit samples; one over 255 is a colour no 8-bit pixel has.
    const std::uint8_t* T = Chunk.Data.data();
    if (Colour != 2 || Chunk.Data.size() != 6 || T[0] || T[2] || T[4] || !PngChunkCrcRight(Chunk))
      return {};
    Start.Form.Keyed = true;
    Start.Form.Key[0] = T[1], Start.Form.Key[1] = T[3], Start.Form.Key[2] = T[5];
    At = Next;
    if (At >= Png.size()) return {};
    Next = At;
    Chunk = NextPngChunk(Png, Next);
  }
  if (!Chunk.Is("IDAT")) return {};
  Start.Data = At;
  return Start;
}

// Rows inflated at a time; while one band is inflated, the one before it is unfiltered and
// narrowed on another core.
constexpr int BandRows = 64;

// The rows of one band, unfiltered in place and narrowed into the sprite's words. Above holds
// the band before's last row, unfiltered, and then this band's.
class TBandNarrowing {
 public:
  TBandNarrowing(const TPngRowsStart& Start, std::uint8_t* Words)
      : FStart(Start),
        FRowBytes(std::size_t(Start.Width) * std::size_t(Start.Form.PixelBytes())),
        FWords(Words),
        FAbove(FRowBytes),
        FBgra(4 * std::size_t(Start.Width)) {}

  std::size_t FilteredRowBytes() const { return 1 + FRowBytes; }

  bool Narrow(std::uint8_t* Band, int First, int Count) {
    const std::uint8_t* Above = FAbove.data();
    for (int I = 0; I < Count; ++I) {
      std::uint8_t* Row = Band + FilteredRowBytes() * std::size_t(I);
      if (!UnfilterPngRow(Row[0], Row + 1, Above, FRowBytes, FStart.Form.PixelBytes()))
        return false;
      BgraRowOfPng(FStart.Form, Row + 1, FBgra.data(), int(FStart.Width));
      NarrowBgraRow(FBgra.data(), FWords + 2 * std::size_t(First + I) * FStart.Width,
                    int(FStart.Width));
      Above = Row + 1;
    }
    std::memcpy(FAbove.data(), Above, FRowBytes);
    return true;
  }

 private:
  const TPngRowsStart& FStart;
  std::size_t FRowBytes;
  std::uint8_t* FWords;
  std::vector<std::uint8_t> FAbove, FBgra;
};

}  // namespace

std::unique_ptr<TS16Sprite> SpriteOfPngRows(std::span<const std::uint8_t> Png) {
  const std::optional<TPngRowsStart> Start = RowsStartOf(Png);
  if (!Start) return nullptr;
  TPngImageData Data(Png.subspan(Start->Data));
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetHeight(std::uint16_t(Start->Height));
  Sprite->SetWidth(std::uint16_t(Start->Width));
  TBandNarrowing Narrowing(*Start, reinterpret_cast<std::uint8_t*>(Sprite->PixelData()));
  const int Height = int(Start->Height);
  std::vector<std::uint8_t> Bands[2];
  for (auto& Band : Bands)
    Band.resize(Narrowing.FilteredRowBytes() * std::size_t(std::min(Height, BandRows)));
  std::future<bool> Narrowed;
  for (int First = 0, B = 0; First < Height; First += BandRows, B ^= 1) {
    const int Count = std::min(BandRows, Height - First);
    const bool Read = Data.Read(Bands[B].data(), Narrowing.FilteredRowBytes() * std::size_t(Count));
    if (Narrowed.valid() && !Narrowed.get()) return nullptr;
    if (!Read) return nullptr;
    Narrowed = std::async(std::launch::async, [&, B, First, Count] {
      return Narrowing.Narrow(Bands[B].data(), First, Count);
    });
  }
  if (Narrowed.valid() && !Narrowed.get()) return nullptr;
  if (!Data.EndsHere()) return nullptr;
  return Sprite;
}
