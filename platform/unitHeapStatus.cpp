#include "platform/unitHeapStatus.h"

#include <malloc.h>

#include "platform/unitLargeBlocks.h"

std::size_t HeapBytesInUse() {
  const struct mallinfo2 Info = mallinfo2();
  // Blocks mapped on their own, the allocator's and ours, are not in the arena's count.
  return Info.uordblks + Info.hblkhd + LargeBlockBytesInUse();
}
