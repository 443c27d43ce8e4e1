#include "numeric/radix_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
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

TEST(RadixSortTest, FloatsAgreeWithStdSort) {
  for (int n : sort_testing::sort_sizes()) {
    for (const auto& input : sort_testing::sort_inputs(n, static_cast<unsigned>(n) + 13u)) {
      std::vector<float> x = input.values;
      std::vector<float> spare(x.size());
      std::vector<float> expected = x;
      std::sort(expected.begin(), expected.end());
      radix_sort(std::span<float>(x), spare);
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

  const float finf = std::numeric_limits<float>::infinity();
  std::vector<float> f = {0.0f, -finf, 1e-40f, -0.0f, finf, -1e-40f, 2.0f, -2.0f};
  std::vector<float> spare(f.size());
  radix_sort(std::span<float>(f), spare);
  EXPECT_EQ(f, (std::vector<float>{-finf, -2.0f, -1e-40f, -0.0f, 0.0f, 1e-40f, 2.0f, finf}));
  EXPECT_TRUE(std::signbit(f[3]));
  EXPECT_FALSE(std::signbit(f[4]));
}

}  // namespace
}  // namespace kvr
