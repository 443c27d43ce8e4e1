#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace kvr {

/// Blocks from this size on are mapped on their own for huge pages.
inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

/// Memory for a large array: from kHugePageBytes on, a mapping of its own aligned to huge pages
/// and marked for them (transparent huge pages), so that the kernel fills it 2 MiB at a time
/// rather than 4 KiB at a time, a fault each; smaller blocks come from operator new. Null
/// when no memory is left.
void* allocate_large(std::size_t bytes);
/// Gives back a block of allocate_large, of the same `bytes`.
void free_large(void* block, std::size_t bytes);

/// An allocator of allocate_large, for the containers of the large arrays (grids, the
/// year-by-year samples of the walks).
template <typename T>
struct LargeArrayAllocator {
  using value_type = T;
  LargeArrayAllocator() = default;
  template <typename U>
  explicit LargeArrayAllocator(const LargeArrayAllocator<U>&) {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    void* block = allocate_large(n * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* p, std::size_t n) { free_large(p, n * sizeof(T)); }
  template <typename U>
  bool operator==(const LargeArrayAllocator<U>&) const {
    return true;
  }
};

/// A vector of a large array.
template <typename T>
using LargeVector = std::vector<T, LargeArrayAllocator<T>>;

}  // namespace kvr
