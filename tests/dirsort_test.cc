#include "dirsort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "sort_test_inputs.h"

namespace kvr {
namespace {

using Pairs = std::vector<std::pair<float, std::int32_t>>;

Pairs zip(const std::vector<float>& x, const std::vector<std::int32_t>& y) {
  Pairs pairs;
  for (std::size_t i = 0; i < x.size(); ++i) pairs.emplace_back(x[i], y[i]);
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

TEST(DirsortTest, AgreesWithStdSortInBothDirections) {
  for (int n : sort_testing::sort_sizes()) {
    if (n == 0) continue;  // rejected with a message, see below
    for (const auto& input : sort_testing::sort_inputs(n, static_cast<unsigned>(n))) {
      SCOPED_TRACE(std::to_string(n) + " " + input.name);
      std::vector<float> ascending = input.values;
      std::sort(ascending.begin(), ascending.end());
      std::vector<float> descending = ascending;
      std::reverse(descending.begin(), descending.end());

      for (int k : {1, -1}) {
        std::vector<float> x = input.values;
        std::ostringstream messages;
        dirsort(x.data(), nullptr, n, k, messages);
        EXPECT_EQ(x, k == 1 ? ascending : descending) << "k = " << k;
        EXPECT_EQ(messages.str(), "");
      }

      // The companion moves with x: the same (x, y) pairs come out, x in order. y holds the
      // original positions so that every pair is distinct.
      std::vector<std::int32_t> positions(static_cast<std::size_t>(n));
      for (int i = 0; i < n; ++i) positions[static_cast<std::size_t>(i)] = i;
      const Pairs original = zip(input.values, positions);
      for (int k : {2, -2}) {
        std::vector<float> x = input.values;
        std::vector<std::int32_t> y = positions;
        std::ostringstream messages;
        dirsort(x.data(), y.data(), n, k, messages);
        EXPECT_EQ(x, k == 2 ? ascending : descending) << "k = " << k;
        EXPECT_EQ(zip(x, y), original) << "k = " << k;
      }
    }
  }
}

TEST(DirsortTest, WorkedExamples) {
  struct Case {
    int k;
    std::vector<float> x_after;
    std::vector<std::int32_t> y_after;
  };
  const Case cases[] = {
      {1, {1, 2, 3}, {10, 20, 30}},
      {-1, {3, 2, 1}, {10, 20, 30}},
      {2, {1, 2, 3}, {20, 30, 10}},
      {-2, {3, 2, 1}, {10, 30, 20}},
  };
  for (const Case& c : cases) {
    std::vector<float> x = {3, 1, 2};
    std::vector<std::int32_t> y = {10, 20, 30};
    std::ostringstream messages;
    dirsort(x.data(), y.data(), 3, c.k, messages);
    EXPECT_EQ(x, c.x_after) << "k = " << c.k;
    EXPECT_EQ(y, c.y_after) << "k = " << c.k;
  }
}

TEST(DirsortTest, RejectsBadCallsWithAMessageAndLeavesTheArrays) {
  struct Case {
    int n;
    int k;
    const char* message;
  };
  const Case cases[] = {
      {0, 1, " the number of values to be sorted is not positive.\n"},
      {-3, 2, " the number of values to be sorted is not positive.\n"},
      {3, 0, " the sort control parameter, k, is not 2, 1, -1, or -2.\n"},
      {3, 3, " the sort control parameter, k, is not 2, 1, -1, or -2.\n"},
      {3, -3, " the sort control parameter, k, is not 2, 1, -1, or -2.\n"},
  };
  for (const Case& c : cases) {
    std::vector<float> x = {3, -1, 2};
    std::vector<std::int32_t> y = {10, 20, 30};
    std::ostringstream messages;
    dirsort(x.data(), y.data(), c.n, c.k, messages);
    EXPECT_EQ(messages.str(), c.message) << "n = " << c.n << ", k = " << c.k;
    EXPECT_EQ(x, (std::vector<float>{3, -1, 2})) << "n = " << c.n << ", k = " << c.k;
    EXPECT_EQ(y, (std::vector<std::int32_t>{10, 20, 30}));
  }
}

// A class can hold every value of the program's largest matrix. Equal values split every
// segment exactly in half, the case that keeps the most segments pending (about log2 n = 23,
// more than the 21 that suffice for 2^21 elements); an overflow of the fixed stack would show
// under AddressSanitizer.
TEST(DirsortTest, SortsTheLargestClassTheProgramCanPass) {
  const int n = 1001 * 10001;
  std::vector<float> x(static_cast<std::size_t>(n), 0.25f);
  x.back() = 0.0f;
  std::ostringstream messages;
  dirsort(x.data(), nullptr, n, -1, messages);
  EXPECT_EQ(x.front(), 0.25f);
  EXPECT_EQ(x.back(), 0.0f);
  EXPECT_TRUE(std::is_sorted(x.begin(), x.end(), std::greater<float>()));
}

}  // namespace
}  // namespace kvr
