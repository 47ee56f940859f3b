#pragma once
// Memory for pixels and whole files. A block of megabytes is mapped on its own and asked of the
// system in huge pages: in 4 KiB pages a picture of hundreds of megabytes costs a page fault
// every 4 KiB, which on a virtual machine takes longer than making its pixels. Blocks come
// cleared, and the pages of a large one are not touched until used.

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

// Blocks from this size up are mapped on their own. Under the sanitizers and the fuzzer every
// block comes from malloc, which they watch for overruns, leaks and oversized allocations.
#ifdef PELBROOK_ALLOCATE_THROUGH_MALLOC
inline constexpr std::size_t LargeBlockSize = SIZE_MAX;
#else
inline constexpr std::size_t LargeBlockSize = std::size_t(4) << 20;
#endif

// Null when there is no memory for it.
void* AllocateClearedBlock(std::size_t Bytes) noexcept;
void FreeBlock(void* Block, std::size_t Bytes) noexcept;
// What the large blocks in use hold, for the heap's count.
std::size_t LargeBlockBytesInUse() noexcept;

template <class T>
struct TLargeBlockAllocator {
  using value_type = T;
  TLargeBlockAllocator() = default;
  template <class U>
  TLargeBlockAllocator(const TLargeBlockAllocator<U>&) noexcept {}
  T* allocate(std::size_t Count) {
    if (Count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* Block = AllocateClearedBlock(Count * sizeof(T));
    if (!Block) throw std::bad_alloc();
    return static_cast<T*>(Block);
  }
  void deallocate(T* Block, std::size_t Count) noexcept { FreeBlock(Block, Count * sizeof(T)); }
  // Blocks come cleared, so an element made without a value is left as it is: a new vector of a
  // given size costs no pass over its memory, and a large block's pages stay untouched. (A
  // vector that shrinks and grows again gets back the bytes it had there.)
  template <class U>
  void construct(U* Element) noexcept {
    ::new (static_cast<void*>(Element)) U;
  }
  template <class U, class... TArgs>
  void construct(U* Element, TArgs&&... Args) {
    ::new (static_cast<void*>(Element)) U(std::forward<TArgs>(Args)...);
  }
  friend bool operator==(const TLargeBlockAllocator&, const TLargeBlockAllocator&) = default;
};

using TLargeBytes = std::vector<std::uint8_t, TLargeBlockAllocator<std::uint8_t>>;
