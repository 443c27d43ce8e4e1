#pragma once

#include <cstddef>
#include <functional>

namespace kvr {

/// The number of threads that parallel_for spreads its work over: the calling thread and one
/// more, as the two cores of the machines the program is built for.
inline constexpr int kWorkers = 2;

/// Calls work(index, worker) once for every index 0..count-1, spread over kWorkers threads
/// (the calling thread is worker 0), each taking the next index as it finishes one, and
/// returns when all are done. Which worker runs an index, and in what order, is not fixed:
/// a call may write only what belongs to its index, or to its worker (scratch, or results
/// that are merged in a way that does not depend on the order), so that the results are
/// identical from run to run.
void parallel_for(int count, const std::function<void(int index, int worker)>& work);

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

/// Calls first() on the calling thread and second() on another at the same time, and returns
/// when both are done; they may wait for each other.
void run_together(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace kvr
