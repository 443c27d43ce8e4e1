#include "numeric/order_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "sort_test_inputs.h"

namespace kvr {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

std::vector<double> in_double(const std::vector<float>& values) {
  return std::vector<double>(values.begin(), values.end());
}

// Every rank of every shape of input: the selected value, and the partition around it.
TEST(OrderStatisticsTest, SelectAgreesWithSorting) {
  for (int n : {1, 2, 3, 7, 24, 25, 26, 40, 63, 64, 65, 127, 1000}) {
    for (const auto& input : sort_testing::sort_inputs(n, static_cast<unsigned>(n) + 3u)) {
      std::vector<double> sorted = in_double(input.values);
      std::sort(sorted.begin(), sorted.end());
      for (std::size_t k = 0; k<sorted.size(); k += n> 100 ? 37 : 1) {
        std::vector<double> x = in_double(input.values);
        ASSERT_EQ(select_in_place(x, k), sorted[k]) << n << " " << input.name << " " << k;
        EXPECT_LE(*std::max_element(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(k) + 1),
                  x[k]);
        EXPECT_GE(*std::min_element(x.begin() + static_cast<std::ptrdiff_t>(k), x.end()), x[k]);
      }
      std::vector<double> x = in_double(input.values);
      EXPECT_EQ(median_in_place(x), sorted_median(sorted)) << n << " " << input.name;
    }
  }
}

// The median absolute deviation with every kind of guess (none, right, low, high, 0, far
// off), against the deviations sorted: a guess changes the way, never the value.
TEST(OrderStatisticsTest, MedianAbsDeviationAgreesWithSorting) {
  std::vector<double> scratch;
  for (int n : {1, 2, 127, 128, 129, 1000, 1001}) {
    for (const auto& input : sort_testing::sort_inputs(n, static_cast<unsigned>(n) + 7u)) {
      std::vector<double> x = in_double(input.values);
      std::vector<double> sorted = x;
      std::sort(sorted.begin(), sorted.end());
      const double centre = sorted_median(sorted);
      std::vector<double> deviations;
      for (double v : x) deviations.push_back(std::fabs(v - centre));
      std::sort(deviations.begin(), deviations.end());
      const double expected = sorted_median(deviations);
      for (double guess : {kNan, expected, expected * 0.95, expected * 1.05, 0.0, expected * 3.0,
                           expected * 0.2 + 1.0}) {
        EXPECT_EQ(median_abs_deviation(x, centre, guess, &scratch), expected)
            << n << " " << input.name << " guess " << guess;
      }
    }
  }
}

// Every k-th deviation of `values` about `centre` by kth(sorted, centre, k), against the
// deviations |x_i - centre| sorted.
template <typename T, typename Kth>
void expect_sorted_deviations(std::vector<T> values, T centre, Kth&& kth) {
  std::sort(values.begin(), values.end());
  std::vector<T> deviations;
  for (T v : values) deviations.push_back(std::fabs(v - centre));
  std::sort(deviations.begin(), deviations.end());
  for (std::size_t k = 0; k < values.size(); ++k) {
    EXPECT_EQ(kth(std::span<const T>(values), centre, k), deviations[k])
        << "centre " << centre << " k " << k;
  }
}

// The k-th deviation about centres inside, at and outside the sample, in double and in single
// precision.
TEST(OrderStatisticsTest, SortedDeviationAgreesWithSortedDeviations) {
  for (int n : {1, 2, 5, 8, 33}) {
    for (const auto& input : sort_testing::sort_inputs(n, static_cast<unsigned>(n) + 5u)) {
      SCOPED_TRACE(std::to_string(n) + " " + input.name);
      std::vector<double> sorted = in_double(input.values);
      std::sort(sorted.begin(), sorted.end());
      for (double centre : {sorted[0] - 1.0, sorted[sorted.size() / 2], sorted_median(sorted),
                            sorted.back() + 2.5, 0.3}) {
        expect_sorted_deviations(sorted, centre, sorted_deviation);
        expect_sorted_deviations(input.values, static_cast<float>(centre), sorted_abs_deviation);
      }
    }
  }
}

}  // namespace
}  // namespace kvr
