#pragma once
// The chunk structure of PNG files, walked by the program itself before any decoder sees the
// bytes: each chunk's length is checked against the bytes there are, and only the chunks that
// make the pixels (the critical ones and the transparency chunk) go on to the decoder. Text,
// colour profiles and the like, compressed or not, are never handed on, so no length or
// compressed size in them can make a decoder allocate.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "platform/unitLargeBlocks.h"

class TFileReader;

class EPngError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr std::size_t PngSignatureSize = 8;
constexpr std::size_t PngChunkHeaderSize = 8;  // length and type; the CRC follows the data

bool IsPngSignature(std::span<const std::uint8_t> Bytes);
// A number as PNG keeps it: four bytes, the most significant first.
std::uint32_t PngBe32(const std::uint8_t* Bytes);

// Steps through the chunks of a PNG of Size bytes from their headers alone, so that a file can
// be walked without being read. The walk ends after IEND, or exactly at the end of the bytes.
class TPngChunkWalk {
 public:
  explicit TPngChunkWalk(std::uint64_t Size) : FSize(Size) {}
  bool Done() const;
  // Where the next chunk's header begins.
  std::uint64_t Next() const { return FNext; }
  // Takes the header of the chunk at Next(); raises EPngError when the chunk is not whole.
  void Step(const std::uint8_t* Header);
  // The end of the last whole chunk taken: the bytes that a decoder can use.
  std::uint64_t End() const { return FNext; }

 private:
  std::uint64_t FSize;
  std::uint64_t FNext = PngSignatureSize;
  bool FEnded = false;
};

struct TPngHeader {
  std::uint32_t Width = 0, Height = 0;
  std::uint8_t BitDepth = 0, ColourType = 0, Interlace = 0;
  bool IsIndexed() const { return ColourType == 3; }
};

// The bytes a decoder needs: the signature, the header and the chunks that make the pixels, each
// whole with its CRC, in their order.
struct TPngForDecoding {
  TPngHeader Header;
  TLargeBytes Bytes;
};
// Raises EPngError when the bytes are no PNG, a chunk is not whole, or the first chunk is not a
// header of 13 bytes. The bytes given whole are kept in place, without a copy.
TPngForDecoding PngForDecoding(TLargeBytes Bytes);
TPngForDecoding PngForDecoding(std::span<const std::uint8_t> Bytes);
TPngHeader ReadPngHeader(std::span<const std::uint8_t> Bytes);

// One chunk of bytes a walk has found whole.
struct TPngChunk {
  char Type[5] = {};
  std::span<const std::uint8_t> Data;
  std::uint32_t Crc = 0;  // as the file gives it, over the type and the data
  bool Is(const char* Name) const;
};
// The chunk at At, which then moves on to the next.
TPngChunk NextPngChunk(std::span<const std::uint8_t> Bytes, std::size_t& At);

// The file from its start to the end of its last whole chunk, after a walk over the chunk
// headers that reads nothing else; no more than MaxSize bytes. Raises EPngError, or EInOutError
// when the file cannot be read.
TLargeBytes ReadPngFile(TFileReader& Reader, std::uint64_t MaxSize);
