#include "platform/unitLargeBlocks.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<std::size_t> LargeBytes{0};

}  // namespace

void* AllocateClearedBlock(std::size_t Bytes) noexcept {
  if (Bytes < LargeBlockSize) return std::calloc(Bytes == 0 ? 1 : Bytes, 1);
  void* Block = mmap(nullptr, Bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (Block == MAP_FAILED) return nullptr;
  madvise(Block, Bytes, MADV_HUGEPAGE);  // a hint: without huge pages the block still serves
  LargeBytes += Bytes;
  return Block;
}

void FreeBlock(void* Block, std::size_t Bytes) noexcept {
  if (!Block) return;
  if (Bytes < LargeBlockSize) {
    std::free(Block);
    return;
  }
  munmap(Block, Bytes);
  LargeBytes -= Bytes;
}

std::size_t LargeBlockBytesInUse() noexcept {
  return LargeBytes;
}
