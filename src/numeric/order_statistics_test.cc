#include "numeric/order_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "sort_test_inputs.h"

namespace kvr {
namespace {

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
