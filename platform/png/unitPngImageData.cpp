#include "platform/png/unitPngImageData.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include <utility>

#include "platform/unitPngChunks.h"

bool PngChunkCrcRight(const TPngChunk& Chunk) {
  const auto* Type = reinterpret_cast<const unsigned char*>(Chunk.Type);
  return crc32_gzip_refl(crc32_gzip_refl(0, Type, 4), Chunk.Data.data(), Chunk.Data.size()) ==
         Chunk.Crc;
}

TPngImageData::TPngImageData(std::span<const std::uint8_t> Bytes)
    : FBytes(Bytes), FState(std::make_unique<inflate_state>()) {
  isal_inflate_init(FState.get());
  FState->crc_flag = ISAL_ZLIB_NO_HDR_VER;
  FFailed = !TakeZlibHeader();
}

TPngImageData::~TPngImageData() = default;

// The next IDAT chunk's data becomes the input; false when the IDAT chunks are over or the
// chunk's CRC is wrong.
bool TPngImageData::TakeChunk() {
  if (!FChunksLeft || FAt >= FBytes.size()) return FChunksLeft = false;
  std::size_t Next = FAt;
  const TPngChunk Chunk = NextPngChunk(FBytes, Next);
  if (!Chunk.Is("IDAT")) return FChunksLeft = false;
  if (!PngChunkCrcRight(Chunk)) {
    FFailed = true;
    return FChunksLeft = false;
  }
  FAt = Next;
  FState->next_in = const_cast<std::uint8_t*>(Chunk.Data.data());
  FState->avail_in = std::uint32_t(Chunk.Data.size());
  return true;
}

// zlib's two bytes, which may lie in two chunks: deflate with a window of 32 KiB, the one
// ISA-L keeps, and no preset dictionary.
bool TPngImageData::TakeZlibHeader() {
  std::uint8_t Header[2];
  for (std::uint8_t& Byte : Header) {
    while (FState->avail_in == 0)
      if (!TakeChunk()) return false;
    Byte = *FState->next_in++;
    --FState->avail_in;
  }
  const bool Deflate = (Header[0] & 0x0F) == 8 && Header[0] >> 4 == 7;
  const bool Checked = (Header[0] << 8 | Header[1]) % 31 == 0;
  const bool Dictionary = Header[1] & 0x20;
  return Deflate && Checked && !Dictionary;
}

// One step of ISA-L; false when it refuses the data or can go no further.
bool TPngImageData::Inflate() {
  if (FState->avail_in == 0) TakeChunk();
  if (FFailed) return false;
  const auto Before = std::pair(FState->avail_in, FState->avail_out);
  if (isal_inflate(FState.get()) != ISAL_DECOMP_OK) return false;
  // Input taken or output given is progress; neither is the end, unless an empty chunk
  // gave no input.
  return Before != std::pair(FState->avail_in, FState->avail_out) ||
         (FState->avail_in == 0 && FChunksLeft);
}

bool TPngImageData::Read(std::uint8_t* Out, std::size_t Count) {
  FState->next_out = Out;
  FState->avail_out = std::uint32_t(Count);
  while (!FFailed && FState->avail_out > 0) {
    if (FState->block_state == ISAL_BLOCK_FINISH || !Inflate()) FFailed = true;
  }
  return !FFailed;
}

bool TPngImageData::EndsHere() {
  std::uint8_t Spare = 0;
  FState->next_out = &Spare;
  FState->avail_out = 1;
  while (!FFailed && FState->block_state != ISAL_BLOCK_FINISH) {
    if (!Inflate() || FState->avail_out == 0) FFailed = true;
  }
  // ISA-L reads ahead: bytes after the stream may wait in its bits as well as in the input.
  if (FFailed || FState->avail_in != 0 || FState->read_in_length != 0) return false;
  // Nothing after the stream: no IDAT chunk with more data, then the end.
  while (TakeChunk())
    if (FState->avail_in != 0) return false;
  if (FFailed || FAt >= FBytes.size()) return false;
  std::size_t Next = FAt;
  const TPngChunk End = NextPngChunk(FBytes, Next);
  return End.Is("IEND") && PngChunkCrcRight(End);
}
