#pragma once

#include <cstddef>

#include "common/parallel.h"

namespace kvr {

/// Work of fewer cells (values filled or visited) than this is done on the calling thread:
/// starting the second thread would cost more than it saves.
inline constexpr std::size_t kSharedWorkCells = 32768;

/// Calls work(index, worker) for every index 0..count-1: spread over the cores by parallel_for
/// when the work touches `cells` values or more, else in order on the calling thread (worker 0).
template <typename Work>
void share_out(int count, std::size_t cells, Work&& work) {
  if (cells < kSharedWorkCells) {
    for (int index = 0; index < count; ++index) work(index, 0);
    return;
  }
  parallel_for(count, work);
}

}  // namespace kvr
