#include "common/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace kvr {
namespace {

TEST(ParallelTest, EveryIndexOnce) {
  for (const int count : {0, 1, 2, 3, 17}) {
    SCOPED_TRACE(count);
    std::vector<std::atomic<int>> calls(static_cast<std::size_t>(count));
    std::vector<std::atomic<int>> by_worker(kWorkers);
    parallel_for(count, [&](int index, int worker) {
      ++calls[static_cast<std::size_t>(index)];
      ++by_worker[static_cast<std::size_t>(worker)];
    });
    int total = 0;
    for (const std::atomic<int>& c : calls) EXPECT_EQ(c.load(), 1);
    for (const std::atomic<int>& w : by_worker) total += w.load();
    EXPECT_EQ(total, count);
  }
}

}  // namespace
}  // namespace kvr
