#include "platform/unitHeapStatus.h"

#include <malloc.h>

#include "platform/unitLargeBlocks.h"

std::size_t HeapBytesInUse() {
  const struct mallinfo2 Info = mallinfo2();
  // Large blocks are mapped on their own and are not in the arena's count.
  return Info.uordblks + Info.hblkhd + LargeBlockBytesInUse();
}
