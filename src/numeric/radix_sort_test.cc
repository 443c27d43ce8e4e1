#include "numeric/radix_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "sort_test_inputs.h"

namespace kvr {
namespace {

TEST(RadixSortTest, AgreesWithStdSort) {
  RadixSortWorkspace workspace;
  for (int n : sort_testing::sort_sizes()) {
    for (const auto& input : sort_testing::sort_inputs(n, static_cast<unsigned>(n) + 11u)) {
      // Doubles that differ only below single precision, of both signs.
      std::vector<double> x;
      for (float v : input.values) x.push_back(static_cast<double>(v) * (1.0 + 1e-12 * x.size()));
      std::vector<double> expected = x;
      std::sort(expected.begin(), expected.end());
      radix_sort(x, &workspace);
      EXPECT_EQ(x, expected) << n << " " << input.name;
    }
  }
}

TEST(RadixSortTest, ZerosAndInfinities) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> x = {0.0, -inf, 1e-310, -0.0, inf, -1e-310, 2.0, -2.0};
  RadixSortWorkspace workspace;
  radix_sort(x, &workspace);
  EXPECT_EQ(x, (std::vector<double>{-inf, -2.0, -1e-310, -0.0, 0.0, 1e-310, 2.0, inf}));
  EXPECT_TRUE(std::signbit(x[3]));
}

}  // namespace
}  // namespace kvr
