#pragma once
// How much memory the program's allocator has handed out and not yet taken back.

#include <cstddef>

// Zero where the allocator keeps no such count (under AddressSanitizer, for one).
std::size_t HeapBytesInUse();
