#include "common/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <vector>

namespace kvr {
namespace {

TEST(ParallelTest, EveryIndexOnceAndPiecesInOrder) {
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

    std::ostringstream out;
    std::string expected;
    write_pieces(out, count, [](int index, std::string* text) {
      EXPECT_TRUE(text->empty());
      *text = std::to_string(index) + ";";
    });
    for (int index = 0; index < count; ++index) expected += std::to_string(index) + ";";
    EXPECT_EQ(out.str(), expected);
  }
}

}  // namespace
}  // namespace kvr
