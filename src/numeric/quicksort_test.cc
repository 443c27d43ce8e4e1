#include "numeric/quicksort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sort_test_inputs.h"

namespace kvr {
namespace {

TEST(QuicksortTest, AgreesWithStdSort) {
  for (int n : sort_testing::sort_sizes()) {
    for (const auto& input : sort_testing::sort_inputs(n, static_cast<unsigned>(n) + 7u)) {
      std::vector<float> x = input.values;
      std::vector<float> expected = x;
      std::sort(expected.begin(), expected.end());
      quicksort(x);
      EXPECT_EQ(x, expected) << n << " " << input.name;
    }
  }
}

TEST(QuicksortTest, EmptySpanIsLeftAlone) {
  quicksort(std::span<float>());  // null data, no element: nothing may be touched
  std::vector<float> one = {4.5f};
  quicksort(one);
  EXPECT_EQ(one, std::vector<float>{4.5f});
}

TEST(QuicksortTest, PivotDrawsAreFixed) {
  // The generator restarts at 0 on every call: the first pivot for a range of 10 elements
  // starting at position 1 is 1 + floor(10 * 1663 / 7875) = 3.
  float fx = 0.0f;
  EXPECT_EQ(quicksort_draw_pivot(1, 10, &fx), 3);
  EXPECT_EQ(fx, 1663.0f);
  // Next state: (1663 * 211 + 1663) mod 7875 = 6056; 1 + floor(10 * 6056 / 7875) = 8.
  EXPECT_EQ(quicksort_draw_pivot(1, 10, &fx), 8);
  EXPECT_EQ(fx, 6056.0f);
  // Over the generator's whole cycle: the states are those of the real remainder
  // fmod(fx * 211 + 1663, 7875), and the position stays inside the range.
  fx = 0.0f;
  float real_fx = 0.0f;
  for (int draw = 0; draw < 8000; ++draw) {
    const int q = quicksort_draw_pivot(101, 10101, &fx);
    real_fx = std::fmod(real_fx * 211.0f + 1663.0f, 7875.0f);
    ASSERT_EQ(fx, real_fx);
    ASSERT_GE(q, 101);
    ASSERT_LE(q, 10101);
  }
}

// The chronology sorts at most 1001 values and the summary 10001, but the routine must hold up
// for the largest array the program has, 1001 x 10001 values. Equal values split every range
// in the middle, the case that keeps the most ranges pending; an overflow of the fixed stack
// would show under AddressSanitizer.
TEST(QuicksortTest, SortsTheLargestArrayTheProgramHas) {
  std::vector<float> x(static_cast<std::size_t>(1001) * 10001, 0.25f);
  x.front() = 0.5f;
  quicksort(x);
  EXPECT_EQ(x.front(), 0.25f);
  EXPECT_EQ(x.back(), 0.5f);
  EXPECT_TRUE(std::is_sorted(x.begin(), x.end()));
}

}  // namespace
}  // namespace kvr
