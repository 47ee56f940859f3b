#include "platform/unitBitmap.h"

#include <algorithm>

#include "platform/unitPixelRows.h"

namespace {

// The channel scalers as tables: the copies between word and byte formats run per pixel.
struct TChannelTables {
  std::uint8_t From5[32];
  std::uint8_t From6[64];
  std::uint8_t To5[256];
  std::uint8_t To6[256];
};

constexpr TChannelTables MakeChannelTables() {
  TChannelTables T{};
  for (int V = 0; V < 32; ++V) T.From5[V] = Scale5To8(std::uint8_t(V));
  for (int V = 0; V < 64; ++V) T.From6[V] = Scale6To8(std::uint8_t(V));
  for (int V = 0; V < 256; ++V) {
    T.To5[V] = Scale8To5(std::uint8_t(V));
    T.To6[V] = Scale8To6(std::uint8_t(V));
  }
  return T;
}

constexpr TChannelTables Channels = MakeChannelTables();

TColour TableWordToColour(std::uint16_t W, bool Is555) {
  if (Is555)
    return MakeColour(Channels.From5[(W >> 10) & 0x1F], Channels.From5[(W >> 5) & 0x1F],
                      Channels.From5[W & 0x1F]);
  return MakeColour(Channels.From5[W >> 11], Channels.From6[(W >> 5) & 0x3F],
                    Channels.From5[W & 0x1F]);
}

std::uint16_t WordAt(const std::uint8_t* Row, int X) {
  std::uint16_t W;
  std::memcpy(&W, Row + 2 * X, 2);
  return W;
}

void SetWordAt(std::uint8_t* Row, int X, std::uint16_t W) {
  std::memcpy(Row + 2 * X, &W, 2);
}

std::uint16_t TableColourToWord(TColour C, bool Is555) {
  const unsigned R = Channels.To5[RedOf(C)], B = Channels.To5[BlueOf(C)];
  return Is555 ? std::uint16_t((R << 10) | (Channels.To5[GreenOf(C)] << 5) | B)
               : std::uint16_t((R << 11) | (Channels.To6[GreenOf(C)] << 5) | B);
}

const TPalette& DefaultPalette() {
  static const TPalette Grey = TPalette::Greyscale();
  return Grey;
}

void DecodeRow(const TBitmap& Source, int X, int Y, int Count, TColour* Out) {
  const std::uint8_t* Row = Source.ScanLine(Y);
  switch (Source.PixelFormat()) {
    case TPixelFormat::pf8bit:
      for (int I = 0; I < Count; ++I) Out[I] = Source.Palette().Colour(Row[X + I]);
      return;
    case TPixelFormat::pf15bit:
      for (int I = 0; I < Count; ++I) Out[I] = TableWordToColour(WordAt(Row, X + I), true);
      return;
    case TPixelFormat::pf16bit:
      for (int I = 0; I < Count; ++I) Out[I] = TableWordToColour(WordAt(Row, X + I), false);
      return;
    case TPixelFormat::pf24bit:
      for (int I = 0; I < Count; ++I) {
        const std::uint8_t* P = Row + 3 * (X + I);
        Out[I] = MakeColour(P[2], P[1], P[0]);
      }
      return;
  }
}

void EncodeRow(TBitmap& Target, int X, int Y, int Count, const TColour* In) {
  std::uint8_t* Row = Target.ScanLine(Y);
  switch (Target.PixelFormat()) {
    case TPixelFormat::pf8bit:
      for (int I = 0; I < Count; ++I) Row[X + I] = Target.Palette().NearestIndex(In[I]);
      return;
    case TPixelFormat::pf15bit:
      for (int I = 0; I < Count; ++I) SetWordAt(Row, X + I, TableColourToWord(In[I], true));
      return;
    case TPixelFormat::pf16bit:
      for (int I = 0; I < Count; ++I) SetWordAt(Row, X + I, TableColourToWord(In[I], false));
      return;
    case TPixelFormat::pf24bit:
      for (int I = 0; I < Count; ++I) {
        std::uint8_t* P = Row + 3 * (X + I);
        P[0] = BlueOf(In[I]);
        P[1] = GreenOf(In[I]);
        P[2] = RedOf(In[I]);
      }
      return;
  }
}

// Most copies into 8 bits come from 5-6-5 sprites: one table lookup a pixel.
void Copy565RowTo8(const TBitmap& Source, int SourceX, int SourceY, TBitmap& Target, int X, int Y,
                   int Count) {
  const std::uint8_t* From = Source.ScanLine(SourceY) + 2 * SourceX;
  std::uint8_t* To = Target.ScanLine(Y) + X;
  const TPalette& Palette = Target.Palette();
  for (int I = 0; I < Count; ++I) {
    std::uint16_t W;
    std::memcpy(&W, From + 2 * I, 2);
    To[I] = Palette.NearestIndexOf565(W);
  }
}

// Every sprite on its way to the screen or a 24-bit file takes this copy, and thumbnails come
// back through 5-6-5: whole rows at a time.
void Copy565RowTo24(const TBitmap& Source, int SourceX, int SourceY, TBitmap& Target, int X, int Y,
                    int Count) {
  Widen565Row(Source.ScanLine(SourceY) + 2 * SourceX, Target.ScanLine(Y) + 3 * X, Count);
}

void Copy24RowTo565(const TBitmap& Source, int SourceX, int SourceY, TBitmap& Target, int X, int Y,
                    int Count) {
  NarrowBgrRow(Source.ScanLine(SourceY) + 3 * SourceX, Target.ScanLine(Y) + 2 * X, Count);
}

bool SameRawMeaning(const TBitmap& A, const TBitmap& B) {
  if (A.PixelFormat() != B.PixelFormat()) return false;
  return A.PixelFormat() != TPixelFormat::pf8bit || A.Palette().Entries() == B.Palette().Entries();
}

}  // namespace

TBitmap::TBitmap(TPixelFormat Format, int Width, int Height) : FFormat(Format) {
  SetSize(Width, Height);
}

TBitmap::TBitmap(const TBitmap& Other)
    : FWidth(Other.FWidth),
      FHeight(Other.FHeight),
      FFormat(Other.FFormat),
      FPixels(Other.FPixels),
      FPalette(Other.FPalette ? std::make_unique<TPalette>(*Other.FPalette) : nullptr) {}

TBitmap& TBitmap::operator=(const TBitmap& Other) {
  if (this != &Other) *this = TBitmap(Other);
  return *this;
}

void TBitmap::SetSize(int Width, int Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (std::uint64_t(Width) * std::uint64_t(Height) > MaxPixels)
    throw EBitmapError("Bitmap too large");
  FPixels =
      TLargeBytes(std::size_t(Width) * std::size_t(Height) * std::size_t(BytesPerPixel(FFormat)));
  FWidth = Width;
  FHeight = Height;
}

void TBitmap::SetPixelFormat(TPixelFormat Format) {
  if (Format == FFormat) return;
  TBitmap Converted(Format, FWidth, FHeight);
  if (FPalette) Converted.FPalette = std::make_unique<TPalette>(*FPalette);
  Converted.Draw(*this);
  *this = std::move(Converted);
}

void TBitmap::SetPalette(std::unique_ptr<TPalette> Palette) {
  FPalette = std::move(Palette);
}

const TPalette& TBitmap::Palette() const {
  return FPalette ? *FPalette : DefaultPalette();
}

void TBitmap::FindBlack(int Y, int Count, std::uint8_t* IsBlack) const {
  const std::uint8_t* Row = ScanLine(Y);
  switch (FFormat) {
    case TPixelFormat::pf8bit: {
      const TPalette& Colours = Palette();
      for (int X = 0; X < Count; ++X) IsBlack[X] = Colours.Colour(Row[X]) == ColourBlack;
      return;
    }
    case TPixelFormat::pf15bit:
      for (int X = 0; X < Count; ++X) IsBlack[X] = (WordAt(Row, X) & 0x7FFF) == 0;
      return;
    case TPixelFormat::pf16bit:
      for (int X = 0; X < Count; ++X) IsBlack[X] = WordAt(Row, X) == 0;
      return;
    case TPixelFormat::pf24bit:
      for (int X = 0; X < Count; ++X)
        IsBlack[X] = (Row[3 * X] | Row[3 * X + 1] | Row[3 * X + 2]) == 0;
      return;
  }
}

void TBitmap::PaintWhere(int Y, int Count, const std::uint8_t* Where, TColour Colour) {
  std::uint8_t* Row = ScanLine(Y);
  std::uint8_t Stored[3];
  StorePixel(Stored, Colour);
  switch (BytesPerPixel(FFormat)) {
    case 1:
      for (int X = 0; X < Count; ++X) Row[X] = Where[X] ? Stored[0] : Row[X];
      return;
    case 2: {
      const std::uint16_t W = WordAt(Stored, 0);
      for (int X = 0; X < Count; ++X) SetWordAt(Row, X, Where[X] ? W : WordAt(Row, X));
      return;
    }
    default:
      for (int X = 0; X < Count; ++X)
        if (Where[X]) std::memcpy(Row + 3 * X, Stored, 3);
      return;
  }
}

void TBitmap::CopyRect(int X, int Y, const TBitmap& Source, int SourceX, int SourceY, int Width,
                       int Height) {
  if (&Source == this) {
    const TBitmap Snapshot(*this);
    CopyRect(X, Y, Snapshot, SourceX, SourceY, Width, Height);
    return;
  }
  // Clip against both bitmaps, moving both origins together.
  auto Clip = [](int& To, int& From, int& Count, int ToLimit, int FromLimit) {
    const int Skip = std::max({0, -To, -From});
    To += Skip;
    From += Skip;
    Count = std::min({Count - Skip, ToLimit - To, FromLimit - From});
  };
  Clip(X, SourceX, Width, FWidth, Source.FWidth);
  Clip(Y, SourceY, Height, FHeight, Source.FHeight);
  if (Width <= 0 || Height <= 0) return;

  if (SameRawMeaning(Source, *this)) {
    const std::size_t Bpp = std::size_t(BytesPerPixel(FFormat));
    for (int Row = 0; Row < Height; ++Row)
      std::memcpy(ScanLine(Y + Row) + Bpp * std::size_t(X),
                  Source.ScanLine(SourceY + Row) + Bpp * std::size_t(SourceX),
                  Bpp * std::size_t(Width));
    return;
  }
  if (Source.FFormat == TPixelFormat::pf16bit && FFormat == TPixelFormat::pf8bit) {
    for (int Row = 0; Row < Height; ++Row)
      Copy565RowTo8(Source, SourceX, SourceY + Row, *this, X, Y + Row, Width);
    return;
  }
  if (Source.FFormat == TPixelFormat::pf16bit && FFormat == TPixelFormat::pf24bit) {
    for (int Row = 0; Row < Height; ++Row)
      Copy565RowTo24(Source, SourceX, SourceY + Row, *this, X, Y + Row, Width);
    return;
  }
  if (Source.FFormat == TPixelFormat::pf24bit && FFormat == TPixelFormat::pf16bit) {
    for (int Row = 0; Row < Height; ++Row)
      Copy24RowTo565(Source, SourceX, SourceY + Row, *this, X, Y + Row, Width);
    return;
  }
  std::vector<TColour> Colours(std::size_t(Width), 0);
  for (int Row = 0; Row < Height; ++Row) {
    DecodeRow(Source, SourceX, SourceY + Row, Width, Colours.data());
    EncodeRow(*this, X, Y + Row, Width, Colours.data());
  }
}
