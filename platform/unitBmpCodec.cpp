#include "platform/unitBmpCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/unitFileIO.h"
#include "platform/unitLittleEndian.h"

namespace {

constexpr std::uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitFields = 3, BiAlphaBitFields = 6;
constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;

// A run code paints at most 255 pixels with two bytes; end-of-line and delta codes paint none
// and leave what they pass over at index 0. So the codes of a file paint at most 128 pixels a
// byte: a larger picture is mostly pixels its data never set, and would make the program
// allocate (and the import convert) far more than the file describes. A small sparse picture
// may pass over more: any RLE file may cover 2^20 pixels (1024 x 1024) beyond what its codes
// can paint. No file makes more than 2^28 pixels (256 MiB at 8 bits), whatever its size.
constexpr std::uint64_t RlePixelsPerByte = 128;
constexpr std::uint64_t RleSparePixels = std::uint64_t(1) << 20;
constexpr std::uint64_t RleMaxPixels = std::uint64_t(1) << 28;

struct TMasks {
  std::uint32_t Red = 0, Green = 0, Blue = 0;
  friend bool operator==(const TMasks&, const TMasks&) = default;
};
constexpr TMasks Masks555{0x7C00, 0x03E0, 0x001F};
constexpr TMasks Masks565{0xF800, 0x07E0, 0x001F};
constexpr TMasks Masks888{0xFF0000, 0x00FF00, 0x0000FF};

// Everything the headers say about where the pixels are and what they mean, checked against
// the file's size.
struct TLayout {
  std::int64_t Width = 0, Height = 0;
  bool TopDown = false;
  int BitCount = 0;
  std::uint32_t Compression = BiRgb;
  TMasks Masks;
  // Nonzero when the header declares an alpha channel.
  std::uint32_t AlphaMask = 0;
  std::size_t PaletteOffset = 0, PaletteEntrySize = 4, PaletteCount = 0;
  // Where the pixels begin and how many bytes the file has from there on; of those, Pixels
  // holds the ones at hand.
  std::uint64_t PixelOffset = 0, PixelBytes = 0;
  std::span<const std::uint8_t> Pixels;

  bool IsRle() const { return Compression == BiRle8 || Compression == BiRle4; }
  std::uint64_t Stride() const { return (std::uint64_t(Width) * BitCount + 31) / 32 * 4; }
  // Row R of the file (bottom-up unless the height was negative) as a row of the bitmap.
  int BitmapRow(std::int64_t R) const { return int(TopDown ? R : Height - 1 - R); }
};

bool IsContiguous(std::uint32_t Mask) {
  return Mask != 0 && std::has_single_bit((std::uint64_t(Mask) >> std::countr_zero(Mask)) + 1);
}

bool ValidMasks(const TMasks& M, int BitCount) {
  const std::uint64_t Limit = std::uint64_t(1) << BitCount;
  for (const std::uint32_t Mask : {M.Red, M.Green, M.Blue})
    if (!IsContiguous(Mask) || Mask >= Limit) return false;
  return ((M.Red & M.Green) | (M.Red & M.Blue) | (M.Green & M.Blue)) == 0;
}

bool IsWindowsHeader(std::uint32_t HeaderSize) {
  return HeaderSize == InfoHeaderSize || HeaderSize == 52 || HeaderSize == 56 ||
         HeaderSize == 108 || HeaderSize == 124;
}

// OS/2 2.x headers have the layout of the 40-byte one and may stop after any field.
bool IsOs2Header(std::uint32_t HeaderSize) {
  return !IsWindowsHeader(HeaderSize) && HeaderSize >= 16 && HeaderSize <= 64;
}

// A fourth mask that is no channel of its own declares no alpha: the file reads opaque.
std::uint32_t ValidAlphaMask(std::uint32_t Alpha, const TMasks& M, int BitCount) {
  const bool Valid = IsContiguous(Alpha) && (std::uint64_t(Alpha) >> BitCount) == 0 &&
                     (Alpha & (M.Red | M.Green | M.Blue)) == 0;
  return Valid ? Alpha : 0;
}

bool ValidBitCount(std::uint32_t Compression, int BitCount) {
  switch (Compression) {
    case BiRgb:
      return BitCount == 1 || BitCount == 2 || BitCount == 4 || BitCount == 8 || BitCount == 16 ||
             BitCount == 24 || BitCount == 32;
    case BiRle8:
      return BitCount == 8;
    case BiRle4:
      return BitCount == 4;
    default:
      return BitCount == 16 || BitCount == 32;
  }
}

// The file header and the size of the information header, from the first bytes alone.
std::uint32_t ReadHeaderSize(std::span<const std::uint8_t> Bytes) {
  if (Bytes.size() < FileHeaderSize + 4 || Bytes[0] != 'B' || Bytes[1] != 'M')
    throw EBmpError("Not a BMP file");
  const std::uint32_t HeaderSize = GetLe32(&Bytes[14]);
  if (HeaderSize != 12 && !IsWindowsHeader(HeaderSize) && !IsOs2Header(HeaderSize))
    throw EBmpError("Unsupported BMP header size");
  return HeaderSize;
}

// Bytes holds the file's first bytes, at least through the colour masks and up to the pixels
// where the file has them; FileSize is the whole file's.
TLayout ReadLayout(std::span<const std::uint8_t> Bytes, std::uint64_t FileSize) {
  const std::uint32_t HeaderSize = ReadHeaderSize(Bytes);
  const bool Core = HeaderSize == 12;
  const bool Windows = IsWindowsHeader(HeaderSize);
  if (FileSize - FileHeaderSize < HeaderSize) throw EBmpError("BMP header beyond end of file");
  const std::uint8_t* Header = &Bytes[FileHeaderSize];
  auto Field16 = [&](std::uint32_t At) { return At + 2 <= HeaderSize ? GetLe16(Header + At) : 0u; };
  auto Field32 = [&](std::uint32_t At) { return At + 4 <= HeaderSize ? GetLe32(Header + At) : 0u; };

  TLayout L;
  std::uint32_t Planes, ColoursUsed = 0;
  if (Core) {
    L.Width = Field16(4);
    L.Height = Field16(6);
    Planes = Field16(8);
    L.BitCount = int(Field16(10));
    L.PaletteEntrySize = 3;
  } else {
    L.Width = std::int32_t(Field32(4));
    L.Height = std::int32_t(Field32(8));
    Planes = Field16(12);
    L.BitCount = int(Field16(14));
    L.Compression = Field32(16);
    ColoursUsed = Field32(32);
  }
  if (L.Height < 0) {
    L.TopDown = true;
    L.Height = -L.Height;
  }
  if (L.Width <= 0 || L.Height <= 0 || L.Height > INT32_MAX) throw EBmpError("Bad BMP dimensions");
  if (Planes != 1) throw EBmpError("Bad BMP plane count");
  // OS/2 gives 3 and 4 to Huffman and RLE24 instead of bit fields and JPEG.
  const bool BitFields =
      Windows && (L.Compression == BiBitFields || L.Compression == BiAlphaBitFields);
  if (L.Compression > BiRle4 && !BitFields) throw EBmpError("Unsupported BMP compression");
  if (!ValidBitCount(L.Compression, L.BitCount)) throw EBmpError("Unsupported BMP bit count");

  L.PaletteOffset = FileHeaderSize + HeaderSize;
  if (BitFields) {
    const std::uint8_t* At = Header + InfoHeaderSize;
    if (HeaderSize == InfoHeaderSize) {
      const std::size_t MaskBytes = L.Compression == BiAlphaBitFields ? 16 : 12;
      if (FileSize - L.PaletteOffset < MaskBytes)
        throw EBmpError("BMP colour masks beyond end of file");
      L.PaletteOffset += MaskBytes;
    }
    L.Masks = {GetLe32(At), GetLe32(At + 4), GetLe32(At + 8)};
    if (!ValidMasks(L.Masks, L.BitCount)) throw EBmpError("Bad BMP colour masks");
    // The fourth mask follows the three in the headers that have it, and with alpha bit fields.
    const bool HasAlphaMask = HeaderSize >= 56 || L.Compression == BiAlphaBitFields;
    if (HasAlphaMask) L.AlphaMask = ValidAlphaMask(GetLe32(At + 12), L.Masks, L.BitCount);
  } else if (L.BitCount == 16) {
    L.Masks = Masks555;
  } else if (L.BitCount == 32) {
    L.Masks = Masks888;
  }

  const std::uint32_t PixelOffset = GetLe32(&Bytes[10]);
  if (PixelOffset < L.PaletteOffset || PixelOffset > FileSize)
    throw EBmpError("Bad BMP pixel data offset");
  L.PixelOffset = PixelOffset;
  L.PixelBytes = FileSize - PixelOffset;
  L.Pixels = Bytes.subspan(std::min<std::size_t>(PixelOffset, Bytes.size()));
  if (L.BitCount <= 8) {
    // The colour table ends where the pixels begin; core headers give no other count.
    const std::size_t Entries = std::size_t(1) << L.BitCount;
    const std::size_t Declared =
        ColoursUsed == 0 ? Entries : std::min<std::size_t>(ColoursUsed, Entries);
    L.PaletteCount = std::min(Declared, (PixelOffset - L.PaletteOffset) / L.PaletteEntrySize);
  }
  return L;
}

// Refuses, before anything is allocated, a bitmap larger than the file's data can describe.
void CheckSize(const TLayout& L) {
  const std::uint64_t Pixels = std::uint64_t(L.Width) * std::uint64_t(L.Height);
  if (Pixels > TBitmap::MaxPixels) throw EBmpError("BMP too large");
  if (L.IsRle()) {
    if (Pixels > std::min(RleMaxPixels, RleSparePixels + L.PixelBytes * RlePixelsPerByte))
      throw EBmpError("BMP too large for its data");
    return;
  }
  // Uncompressed rows have a fixed size, so a short file is refused: decoding the rows that
  // are there would let a tiny file claim any height. Only the last row's padding may be
  // missing.
  const std::uint64_t LastRow = (std::uint64_t(L.Width) * L.BitCount + 7) / 8;
  if (L.Stride() * std::uint64_t(L.Height - 1) + LastRow > L.PixelBytes)
    throw EBmpError("BMP pixel data beyond end of file");
}

// How many bytes from the pixels on the reader can use, once CheckSize has passed: the rows,
// or for RLE the longest stream that still paints, two bytes a pixel and an end code a row.
std::uint64_t PixelBytesUsed(const TLayout& L) {
  const std::uint64_t Height = std::uint64_t(L.Height);
  const std::uint64_t Used =
      L.IsRle() ? 2 * std::uint64_t(L.Width) * Height + 2 * Height + 2 : L.Stride() * Height;
  return std::min(Used, L.PixelBytes);
}

TPixelFormat OutputFormat(const TLayout& L) {
  if (L.BitCount <= 8) return TPixelFormat::pf8bit;
  if (L.BitCount == 16 && L.Masks == Masks565) return TPixelFormat::pf16bit;
  if (L.BitCount == 16 && L.Masks == Masks555) return TPixelFormat::pf15bit;
  return TPixelFormat::pf24bit;
}

std::unique_ptr<TPalette> ReadPalette(std::span<const std::uint8_t> Bytes, const TLayout& L) {
  TPaletteEntries Entries{};
  for (std::size_t I = 0; I < L.PaletteCount; ++I) {
    const std::uint8_t* E = &Bytes[L.PaletteOffset + I * L.PaletteEntrySize];
    Entries[I] = {E[2], E[1], E[0], 0};
  }
  return std::make_unique<TPalette>(Entries);
}

// An n-bit channel widens to round(v * 255 / (2^n - 1)); the divisor is odd, so no value
// falls halfway.
class TChannel {
 public:
  explicit TChannel(std::uint32_t Mask)
      : FMask(Mask), FShift(std::countr_zero(Mask)), FMax(std::uint64_t(Mask) >> FShift) {}
  std::uint8_t operator()(std::uint32_t Pixel) const {
    const std::uint64_t Value = std::uint64_t(Pixel & FMask) >> FShift;
    return std::uint8_t(FMax == 255 ? Value : (Value * 255 + FMax / 2) / FMax);
  }

 private:
  std::uint32_t FMask;
  int FShift;
  std::uint64_t FMax;
};

// Pixel X of a row of 16 or 32 bits.
std::uint32_t MaskedPixel(const TLayout& L, const std::uint8_t* Row, std::size_t X) {
  return L.BitCount == 16 ? GetLe16(Row + 2 * X) : GetLe32(Row + 4 * X);
}

void DecodeRow(const TLayout& L, const std::uint8_t* Row, std::uint8_t* Out) {
  const std::size_t Width = std::size_t(L.Width);
  switch (L.BitCount) {
    case 1:
    case 2:
    case 4: {
      const unsigned Bits = unsigned(L.BitCount), Mask = (1u << Bits) - 1;
      for (std::size_t X = 0; X < Width; ++X) {
        const std::size_t Bit = X * Bits;
        Out[X] = std::uint8_t((Row[Bit / 8] >> (8 - Bits - Bit % 8)) & Mask);
      }
      return;
    }
    case 8:
      std::memcpy(Out, Row, Width);
      return;
    case 24:
      std::memcpy(Out, Row, Width * 3);
      return;
  }
  switch (OutputFormat(L)) {
    case TPixelFormat::pf16bit:
      std::memcpy(Out, Row, Width * 2);
      return;
    case TPixelFormat::pf15bit:
      for (std::size_t X = 0; X < Width; ++X) {
        Out[2 * X] = Row[2 * X];
        Out[2 * X + 1] = Row[2 * X + 1] & 0x7F;
      }
      return;
    default:
      break;
  }
  const TChannel Red(L.Masks.Red), Green(L.Masks.Green), Blue(L.Masks.Blue);
  for (std::size_t X = 0; X < Width; ++X) {
    const std::uint32_t Pixel = MaskedPixel(L, Row, X);
    Out[3 * X] = Blue(Pixel);
    Out[3 * X + 1] = Green(Pixel);
    Out[3 * X + 2] = Red(Pixel);
  }
}

const std::uint8_t* FileRow(const TLayout& L, std::int64_t R) {
  return L.Pixels.data() + std::size_t(R) * std::size_t(L.Stride());
}

// Many writers leave every alpha value 0 to mean that the picture has no alpha.
bool AnyAlpha(const TLayout& L) {
  for (std::int64_t R = 0; R < L.Height; ++R)
    for (std::size_t X = 0; X < std::size_t(L.Width); ++X)
      if (MaskedPixel(L, FileRow(L, R), X) & L.AlphaMask) return true;
  return false;
}

// A pixel less than half opaque comes in black, as from every other picture.
void ClearTransparent(const TLayout& L, const std::uint8_t* Row, std::uint8_t* Out) {
  const TChannel Alpha(L.AlphaMask);
  const std::size_t Size = std::size_t(BytesPerPixel(OutputFormat(L)));
  for (std::size_t X = 0; X < std::size_t(L.Width); ++X)
    if (Alpha(MaskedPixel(L, Row, X)) < 128) std::memset(Out + X * Size, 0, Size);
}

void DecodeRows(const TLayout& L, TBitmap& Bitmap) {
  const bool Alpha = L.AlphaMask != 0 && AnyAlpha(L);
  for (std::int64_t R = 0; R < L.Height; ++R) {
    std::uint8_t* Out = Bitmap.ScanLine(L.BitmapRow(R));
    DecodeRow(L, FileRow(L, R), Out);
    if (Alpha) ClearTransparent(L, FileRow(L, R), Out);
  }
}

// Pixels that no code sets stay index 0. A stream cut short keeps what it has decoded.
void DecodeRle(const TLayout& L, TBitmap& Bitmap) {
  const std::span<const std::uint8_t> Data = L.Pixels;
  const bool Rle4 = L.Compression == BiRle4;
  auto PixelOf = [Rle4](std::uint8_t Byte, int I) {
    return Rle4 ? std::uint8_t(I % 2 == 0 ? Byte >> 4 : Byte & 0x0F) : Byte;
  };
  std::int64_t X = 0, Y = 0;
  auto Put = [&](std::uint8_t Index) {
    if (X < L.Width) Bitmap.ScanLine(L.BitmapRow(Y))[X] = Index;
    ++X;
  };
  std::size_t P = 0;
  while (Y < L.Height && Data.size() - P >= 2) {
    const std::uint8_t Count = Data[P], Code = Data[P + 1];
    P += 2;
    if (Count != 0) {
      for (int I = 0; I < Count; ++I) Put(PixelOf(Code, I));
    } else if (Code == 0) {  // end of line
      X = 0;
      ++Y;
    } else if (Code == 1) {  // end of bitmap
      return;
    } else if (Code == 2) {  // delta
      if (Data.size() - P < 2) return;
      X += Data[P];
      Y += Data[P + 1];
      P += 2;
    } else {  // Code literal pixels, padded to a 16-bit boundary
      const std::size_t Size = Rle4 ? (Code + 1u) / 2 : Code;
      for (int I = 0; I < Code; ++I) {
        const std::size_t At = P + std::size_t(Rle4 ? I / 2 : I);
        if (At >= Data.size()) return;
        Put(PixelOf(Data[At], I));
      }
      P = std::min(Data.size(), P + Size + (Size & 1));
    }
  }
}

}  // namespace

std::unique_ptr<TBitmap> ReadBmp(std::span<const std::uint8_t> Bytes) {
  const TLayout L = ReadLayout(Bytes, Bytes.size());
  CheckSize(L);
  auto Bitmap = std::make_unique<TBitmap>(OutputFormat(L), int(L.Width), int(L.Height));
  if (L.BitCount <= 8) Bitmap->SetPalette(ReadPalette(Bytes, L));
  if (L.IsRle())
    DecodeRle(L, *Bitmap);
  else
    DecodeRows(L, *Bitmap);
  return Bitmap;
}

TPixelFormat BmpPixelFormat(std::span<const std::uint8_t> Bytes) {
  const TLayout L = ReadLayout(Bytes, Bytes.size());
  CheckSize(L);
  return OutputFormat(L);
}

std::uint64_t BmpBytesUsed(std::span<const std::uint8_t> Head, std::uint64_t FileSize) {
  const std::uint64_t First = FileHeaderSize + 4;
  if (Head.size() < std::min(First, FileSize)) return std::min(First, FileSize);
  const std::uint32_t HeaderSize = ReadHeaderSize(Head);
  // The headers and the masks that may follow them; the colour table is read with the pixels.
  const std::uint64_t Headers =
      std::min<std::uint64_t>(FileSize, FileHeaderSize + std::max(HeaderSize, InfoHeaderSize) + 16);
  if (Head.size() < Headers) return Headers;
  const TLayout L = ReadLayout(Head, FileSize);
  CheckSize(L);
  return L.PixelOffset + PixelBytesUsed(L);
}

TLargeBytes ReadBmpBytes(TFileReader& Reader) {
  TLargeBytes Bytes;
  for (std::uint64_t Used; (Used = BmpBytesUsed(Bytes, Reader.Size())) > Bytes.size();) {
    if (Used > MaxBmpFileSize) throw EBmpError("BMP file too large");
    const std::size_t Had = Bytes.size();
    Bytes.resize(std::size_t(Used));
    Reader.Read(Bytes.data() + Had, Bytes.size() - Had);
  }
  return Bytes;
}

std::unique_ptr<TBitmap> LoadBmpFile(const std::string& Path) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  return ReadBmp(ReadBmpBytes(Reader));
}

// Written beside the fixed fields: 2835 pixels a metre (72 dpi) both ways, and for 8 bits
// all 256 colours counted as used; no colour is marked important.
std::vector<std::uint8_t> EncodeBmp(const TBitmap& Bitmap) {
  const TPixelFormat Format = Bitmap.PixelFormat();
  if (Format == TPixelFormat::pf15bit) throw EBmpError("15-bit bitmaps are not written to BMP");
  if (Bitmap.Width() <= 0 || Bitmap.Height() <= 0)
    throw EBmpError("An empty bitmap cannot be written to BMP");
  const std::uint64_t RowSize = std::uint64_t(Bitmap.Width()) * BytesPerPixel(Format);
  const std::uint64_t Stride = (RowSize + 3) / 4 * 4;
  const std::uint64_t ImageSize = Stride * std::uint64_t(Bitmap.Height());
  const std::uint32_t TableSize = Format == TPixelFormat::pf8bit    ? 256 * 4
                                  : Format == TPixelFormat::pf16bit ? 3 * 4
                                                                    : 0;
  const std::uint32_t PixelOffset = FileHeaderSize + InfoHeaderSize + TableSize;
  if (PixelOffset + ImageSize > 0xFFFFFFFFu) throw EBmpError("Bitmap too large for BMP");

  std::vector<std::uint8_t> Out;
  Out.reserve(std::size_t(PixelOffset + ImageSize));
  auto Put16 = [&Out](std::uint32_t V) {
    Out.resize(Out.size() + 2);
    PutLe16(&Out[Out.size() - 2], std::uint16_t(V));
  };
  auto Put32 = [&Out](std::uint32_t V) {
    Out.resize(Out.size() + 4);
    PutLe32(&Out[Out.size() - 4], V);
  };
  Out.insert(Out.end(), {'B', 'M'});
  Put32(std::uint32_t(PixelOffset + ImageSize));
  Put32(0);  // two reserved words
  Put32(PixelOffset);
  Put32(InfoHeaderSize);
  Put32(std::uint32_t(Bitmap.Width()));
  Put32(std::uint32_t(Bitmap.Height()));
  Put16(1);
  Put16(8 * std::uint32_t(BytesPerPixel(Format)));
  Put32(Format == TPixelFormat::pf16bit ? BiBitFields : BiRgb);
  Put32(std::uint32_t(ImageSize));
  Put32(2835);
  Put32(2835);
  Put32(Format == TPixelFormat::pf8bit ? 256 : 0);
  Put32(0);
  if (Format == TPixelFormat::pf16bit)
    for (const std::uint32_t Mask : {Masks565.Red, Masks565.Green, Masks565.Blue}) Put32(Mask);
  if (Format == TPixelFormat::pf8bit)
    for (const TPaletteEntry& E : Bitmap.Palette().Entries())
      Out.insert(Out.end(), {E.Blue, E.Green, E.Red, 0});
  for (int Y = Bitmap.Height() - 1; Y >= 0; --Y) {
    const std::uint8_t* Row = Bitmap.ScanLine(Y);
    Out.insert(Out.end(), Row, Row + RowSize);
    Out.resize(Out.size() + std::size_t(Stride - RowSize), 0);
  }
  return Out;
}

void SaveBmpFile(const TBitmap& Bitmap, const std::string& Path) {
  const std::vector<std::uint8_t> Bytes = EncodeBmp(Bitmap);
  SaveWholeFile(Path, Bytes.data(), Bytes.size());
}
