#pragma once
// The image data of a PNG: the zlib stream its IDAT chunks carry, inflated a piece at a time by
// ISA-L, each chunk's CRC checked as the stream reaches it. Only what zlib inflates the same is
// taken: a stream with a preset dictionary or a window under 32 KiB is refused, as is any
// damage, so that the caller can leave such a file to the decoder that reads every kind.

#include <cstdint>
#include <memory>
#include <span>

struct inflate_state;
struct TPngChunk;

bool PngChunkCrcRight(const TPngChunk& Chunk);

class TPngImageData {
 public:
  // Bytes are whole chunks from the first IDAT chunk on, as a chunk walk keeps them.
  explicit TPngImageData(std::span<const std::uint8_t> Bytes);
  ~TPngImageData();
  TPngImageData(const TPngImageData&) = delete;
  TPngImageData& operator=(const TPngImageData&) = delete;

  // Exactly Count inflated bytes into Out; false when the stream ends first or is damaged.
  bool Read(std::uint8_t* Out, std::size_t Count);
  // True when the stream ends right after what was read, its checksum right, at the end of the
  // last IDAT chunk, and the IEND chunk follows.
  bool EndsHere();

 private:
  bool TakeChunk();
  bool TakeZlibHeader();
  bool Inflate();

  std::span<const std::uint8_t> FBytes;
  std::size_t FAt = 0;
  bool FChunksLeft = true;
  bool FFailed = false;
  std::unique_ptr<inflate_state> FState;
};
