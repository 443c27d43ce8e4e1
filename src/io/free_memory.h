#pragma once

#include <cstddef>

namespace kvr {

/// Freed memory below this is kept by the heap: the steps after reuse it, where handing it
/// back would make them fault the same pages in again.
inline constexpr std::size_t kMemoryWorthReleasing = std::size_t{8} << 20;

/// Hands the memory that the heap holds free back to the system, where the C library can
/// (glibc's malloc_trim), when `freed_bytes` (what the caller has just let go) is at least
/// kMemoryWorthReleasing; elsewhere it does nothing. Memory freed in many small blocks stays
/// with the heap, and the large grids allocated later do not reuse it: without this it would
/// add to the peak memory of the steps after.
void release_free_memory(std::size_t freed_bytes);

}  // namespace kvr
