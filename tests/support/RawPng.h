#pragma once
// PNG files built chunk by chunk without a library: the image data in stored (uncompressed)
// deflate blocks, every row with one of the five filters in turn, any chunk after the header,
// and chunks whose length claims more than they hold. For the fuzzer's seeds and the tests of
// the chunk walk.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using TPngBytes = std::vector<std::uint8_t>;

inline std::uint32_t Crc32(const std::uint8_t* Bytes, std::size_t Count) {
  std::uint32_t Crc = 0xFFFFFFFF;
  for (std::size_t I = 0; I < Count; ++I) {
    Crc ^= Bytes[I];
    for (int Bit = 0; Bit < 8; ++Bit) Crc = (Crc >> 1) ^ (0xEDB88320 & (0 - (Crc & 1)));
  }
  return ~Crc;
}

inline void PutBe32(TPngBytes& Bytes, std::uint32_t Value) {
  for (int Shift = 24; Shift >= 0; Shift -= 8) Bytes.push_back(std::uint8_t(Value >> Shift));
}

// A zlib stream of Raw in stored blocks.
inline TPngBytes ZlibStored(const TPngBytes& Raw) {
  TPngBytes Out = {0x78, 0x01};
  std::size_t At = 0;
  do {
    const std::size_t Count = std::min<std::size_t>(Raw.size() - At, 65535);
    Out.push_back(At + Count == Raw.size() ? 1 : 0);
    Out.insert(Out.end(), {std::uint8_t(Count), std::uint8_t(Count >> 8), std::uint8_t(~Count),
                           std::uint8_t(~Count >> 8)});
    Out.insert(Out.end(), Raw.begin() + std::ptrdiff_t(At),
               Raw.begin() + std::ptrdiff_t(At + Count));
    At += Count;
  } while (At < Raw.size());
  std::uint32_t A = 1, B = 0;
  for (const std::uint8_t Byte : Raw) {
    A = (A + Byte) % 65521;
    B = (B + A) % 65521;
  }
  PutBe32(Out, (B << 16) | A);
  return Out;
}

struct TRawPng {
  TPngBytes Bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

  // A chunk of Data whose length field says Length (the data's own length unless given).
  TRawPng& Chunk(const std::string& Type, const TPngBytes& Data, std::int64_t Length = -1) {
    PutBe32(Bytes, std::uint32_t(Length < 0 ? std::int64_t(Data.size()) : Length));
    const std::size_t Start = Bytes.size();
    Bytes.insert(Bytes.end(), Type.begin(), Type.end());
    Bytes.insert(Bytes.end(), Data.begin(), Data.end());
    PutBe32(Bytes, Crc32(Bytes.data() + Start, Bytes.size() - Start));
    return *this;
  }
  TRawPng& Header(std::uint32_t Width, std::uint32_t Height, int BitDepth, int ColourType,
                  bool Interlaced = false) {
    TPngBytes Data;
    PutBe32(Data, Width);
    PutBe32(Data, Height);
    Data.insert(Data.end(), {std::uint8_t(BitDepth), std::uint8_t(ColourType), 0, 0,
                             std::uint8_t(Interlaced ? 1 : 0)});
    return Chunk("IHDR", Data);
  }
  TRawPng& End() { return Chunk("IEND", {}); }
};

inline int PngChannels(int ColourType) {
  switch (ColourType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

// The filtered rows of a Width x Height picture, in the seven passes of an interlaced one.
inline TPngBytes PngRows(std::uint32_t Width, std::uint32_t Height, int BitDepth, int ColourType,
                         bool Interlaced) {
  struct TPass {
    std::uint32_t X, Y, Dx, Dy;
  };
  const std::vector<TPass> Passes =
      Interlaced ? std::vector<TPass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                 : std::vector<TPass>{{0, 0, 1, 1}};
  const std::uint64_t Bits = std::uint64_t(BitDepth) * PngChannels(ColourType);
  TPngBytes Raw;
  std::uint8_t Value = 0;
  for (const TPass& Pass : Passes) {
    if (Width <= Pass.X || Height <= Pass.Y) continue;
    const std::uint64_t Columns = (Width - Pass.X + Pass.Dx - 1) / Pass.Dx;
    const std::uint64_t Rows = (Height - Pass.Y + Pass.Dy - 1) / Pass.Dy;
    for (std::uint64_t Row = 0; Row < Rows; ++Row) {
      Raw.push_back(std::uint8_t(Row % 5));
      for (std::uint64_t I = 0; I < (Columns * Bits + 7) / 8; ++I) Raw.push_back(Value += 37);
    }
  }
  return Raw;
}

// A whole picture: header, a palette of 16 colours for colour type 3, the chunks of Extra
// before the data, then the data and the end.
inline TPngBytes MakeRawPng(std::uint32_t Width, std::uint32_t Height, int BitDepth, int ColourType,
                            bool Interlaced = false,
                            const std::vector<std::pair<std::string, TPngBytes>>& Extra = {}) {
  TRawPng Png;
  Png.Header(Width, Height, BitDepth, ColourType, Interlaced);
  if (ColourType == 3) {
    TPngBytes Palette;
    for (int I = 0; I < 16 * 3; ++I) Palette.push_back(std::uint8_t(I * 17));
    Png.Chunk("PLTE", Palette);
  }
  for (const auto& [Type, Data] : Extra) Png.Chunk(Type, Data);
  Png.Chunk("IDAT", ZlibStored(PngRows(Width, Height, BitDepth, ColourType, Interlaced)));
  return Png.End().Bytes;
}

// 70 bytes: a 1 x 1 header, then a text chunk whose length claims 2^31 - 1 bytes.
inline TPngBytes TextClaiming2Gb() {
  TRawPng Png;
  Png.Header(1, 1, 8, 2);
  PutBe32(Png.Bytes, 0x7FFFFFFF);
  Png.Bytes.insert(Png.Bytes.end(), {'t', 'E', 'X', 't'});
  Png.Bytes.resize(70, 'a');
  return Png.Bytes;
}
