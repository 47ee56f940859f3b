#include "platform/unitPngChunks.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/unitFileIO.h"

namespace {

constexpr std::uint8_t Signature[PngSignatureSize] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t CrcSize = 4;
constexpr std::uint32_t MaxChunkLength = 0x7FFFFFFF;
constexpr std::uint32_t HeaderLength = 13;

bool IsType(const std::uint8_t* Header, const char* Type) {
  return std::memcmp(Header + 4, Type, 4) == 0;
}

std::string TypeOf(const std::uint8_t* Header) {
  std::string Type;
  for (int I = 4; I < 8; ++I)
    Type += (Header[I] >= 0x20 && Header[I] < 0x7F) ? char(Header[I]) : '?';
  return Type;
}

// The critical chunks (an upper-case first letter) make the picture; of the others only the
// transparency does.
bool MakesPixels(const std::uint8_t* Header) {
  return (Header[4] & 0x20) == 0 || IsType(Header, "tRNS");
}

}  // namespace

std::uint32_t PngBe32(const std::uint8_t* P) {
  return std::uint32_t(P[0]) << 24 | std::uint32_t(P[1]) << 16 | std::uint32_t(P[2]) << 8 | P[3];
}

bool IsPngSignature(std::span<const std::uint8_t> Bytes) {
  return Bytes.size() >= PngSignatureSize &&
         std::equal(std::begin(Signature), std::end(Signature), Bytes.begin());
}

bool TPngChunkWalk::Done() const {
  return FEnded || FNext >= FSize;
}

void TPngChunkWalk::Step(const std::uint8_t* Header) {
  const std::uint32_t Length = PngBe32(Header);
  const std::uint64_t Left = FSize > FNext ? FSize - FNext : 0;
  if (Length > MaxChunkLength || Left < PngChunkHeaderSize + CrcSize ||
      Length > Left - PngChunkHeaderSize - CrcSize)
    throw EPngError("the " + TypeOf(Header) + " chunk at byte " + std::to_string(FNext) +
                    " claims " + std::to_string(Length) + " bytes, more than the " +
                    std::to_string(FSize) + " bytes of the file hold");
  if (FNext == PngSignatureSize && (!IsType(Header, "IHDR") || Length != HeaderLength))
    throw EPngError("the file does not begin with a PNG header");
  FNext += PngChunkHeaderSize + Length + CrcSize;
  FEnded = IsType(Header, "IEND");
}

namespace {

// Calls Take(header, whole chunk) for each chunk in order; the first is the PNG header.
template <class TTake>
TPngHeader WalkChunks(std::span<const std::uint8_t> Bytes, TTake Take) {
  if (!IsPngSignature(Bytes)) throw EPngError("the bytes are no PNG");
  TPngHeader Png;
  TPngChunkWalk Walk(Bytes.size());
  do {
    // A header cut short is still looked at whole: the walk refuses it by the bytes left.
    std::uint8_t Header[PngChunkHeaderSize] = {};
    const std::size_t At = std::size_t(Walk.Next());
    std::copy_n(Bytes.begin() + std::ptrdiff_t(At), std::min(Bytes.size() - At, sizeof Header),
                Header);
    Walk.Step(Header);
    const auto Chunk = Bytes.subspan(At, std::size_t(Walk.Next()) - At);
    if (At == PngSignatureSize) {
      const std::uint8_t* Data = Chunk.data() + PngChunkHeaderSize;
      Png = {PngBe32(Data), PngBe32(Data + 4), Data[8], Data[9], Data[12]};
    }
    Take(Header, Chunk);
  } while (!Walk.Done());
  return Png;
}

}  // namespace

bool TPngChunk::Is(const char* Name) const {
  return std::memcmp(Type, Name, 4) == 0;
}

TPngChunk NextPngChunk(std::span<const std::uint8_t> Bytes, std::size_t& At) {
  TPngChunk Chunk;
  const std::uint8_t* Header = Bytes.data() + At;
  std::memcpy(Chunk.Type, Header + 4, 4);
  Chunk.Data = Bytes.subspan(At + PngChunkHeaderSize, PngBe32(Header));
  At += PngChunkHeaderSize + Chunk.Data.size();
  Chunk.Crc = PngBe32(Bytes.data() + At);
  At += CrcSize;
  return Chunk;
}

TPngForDecoding PngForDecoding(TLargeBytes Bytes) {
  TPngForDecoding Png;
  std::size_t Kept = PngSignatureSize;
  Png.Header = WalkChunks(Bytes, [&](const std::uint8_t* Header, auto Chunk) {
    if (!MakesPixels(Header)) return;
    // Kept chunks move down over the ones left out, never past the chunk the walk is at.
    std::memmove(Bytes.data() + Kept, Chunk.data(), Chunk.size());
    Kept += Chunk.size();
  });
  Bytes.resize(Kept);
  Png.Bytes = std::move(Bytes);
  return Png;
}

TPngForDecoding PngForDecoding(std::span<const std::uint8_t> Bytes) {
  return PngForDecoding(TLargeBytes(Bytes.begin(), Bytes.end()));
}

TPngHeader ReadPngHeader(std::span<const std::uint8_t> Bytes) {
  return WalkChunks(Bytes, [](const std::uint8_t*, auto) {});
}

TLargeBytes ReadPngFile(TFileReader& Reader, std::uint64_t MaxSize) {
  TPngChunkWalk Walk(Reader.Size());
  // Headers of small chunks are taken from one window of the file, so that a file of millions
  // of empty chunks costs a read per window, not one per chunk.
  std::vector<std::uint8_t> Window(64 * 1024);
  std::uint64_t WindowStart = 0;
  std::size_t WindowSize = 0;
  do {
    std::uint8_t Header[PngChunkHeaderSize] = {};
    if (Walk.Next() < WindowStart || Walk.Next() + sizeof Header > WindowStart + WindowSize) {
      WindowStart = Walk.Next();
      Reader.Seek(WindowStart);
      WindowSize = Reader.ReadUpTo(Window.data(), Window.size());
    }
    const std::size_t At = std::size_t(Walk.Next() - WindowStart);
    std::copy_n(Window.begin() + std::ptrdiff_t(At), std::min(WindowSize - At, sizeof Header),
                Header);
    Walk.Step(Header);
    if (Walk.Next() > MaxSize)
      throw EPngError("the " + TypeOf(Header) + " chunk ends beyond byte " +
                      std::to_string(MaxSize) + ", more than a picture may have");
  } while (!Walk.Done());
  TLargeBytes Bytes(std::size_t(Walk.End()));
  Reader.Seek(0);
  Reader.Read(Bytes.data(), Bytes.size());
  return Bytes;
}
