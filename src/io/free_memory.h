#pragma once

namespace kvr {

/// Hands the memory that the heap holds free back to the system, where the C library can
/// (glibc's malloc_trim); elsewhere it does nothing. Memory freed in many small blocks stays
/// with the heap, and the large grids allocated later do not reuse it: without this it would
/// add to the peak memory of the steps after.
void release_free_memory();

}  // namespace kvr
