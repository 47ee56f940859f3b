// Blocks small and large come cleared and writable to their last byte, and the heap's count
// follows the large ones, which the allocator's own count does not see.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/unitLargeBlocks.h"

namespace {

TEST(LargeBlocks, ComeClearedAndAreCountedUntilFreed) {
  for (const std::size_t Bytes : {std::size_t(0), std::size_t(1), (std::size_t(4) << 20) - 1,
                                  std::size_t(4) << 20, (std::size_t(64) << 20) + 3}) {
    const std::size_t Before = LargeBlockBytesInUse();
    auto* Block = static_cast<std::uint8_t*>(AllocateClearedBlock(Bytes));
    ASSERT_NE(Block, nullptr) << Bytes;
    EXPECT_TRUE(std::all_of(Block, Block + Bytes, [](std::uint8_t B) { return B == 0; }));
    if (Bytes) Block[Bytes - 1] = 1;
    EXPECT_EQ(LargeBlockBytesInUse() - Before, Bytes >= LargeBlockSize ? Bytes : 0);
    FreeBlock(Block, Bytes);
    EXPECT_EQ(LargeBlockBytesInUse(), Before) << Bytes;
  }
}

}  // namespace
