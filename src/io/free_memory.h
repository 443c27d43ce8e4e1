#pragma once

#include <cstddef>

namespace kvr {

/// Has the heap serve blocks up to 1 MiB, where the C library can (glibc's mallopt). glibc
/// gives each block from 128 KiB on fresh pages of its own, which a run then faults in anew
/// for each step; from the heap, a step reuses the pages of the steps before it. Larger blocks
/// (the grids of large inputs) still get pages of their own, handed back when freed.
void keep_middle_blocks_on_heap();

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
