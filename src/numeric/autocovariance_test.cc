#include "numeric/autocovariance.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <vector>

namespace kvr {
namespace {

// Every lag of series of many lengths, against the sums written out, bit for bit: lags within
// one sweep, across sweeps, and up to the series' last value.
TEST(AutocovarianceTest, AgreesWithThePlainSums) {
  std::mt19937 rng(5);
  std::normal_distribution<double> noise(0.0, 1.0);
  for (const std::size_t n : {2, 3, 8, 15, 49, 50, 97, 1000, 10001}) {
    const std::size_t max_lag = n - 1 < 60 ? n - 1 : 60;
    std::vector<double> d(n + max_lag + kAutocovarianceZeros, 0.0);
    for (std::size_t t = 0; t < n; ++t) d[t] = noise(rng);
    const std::vector<double> r = autocovariances(d, n, max_lag);
    ASSERT_EQ(r.size(), max_lag + 1);
    for (std::size_t k = 0; k <= max_lag; ++k) {
      double sum = 0.0;
      for (std::size_t t = 0; t + k < n; ++t) sum += d[t] * d[t + k];
      ASSERT_EQ(r[k], sum / static_cast<double>(n)) << "n " << n << " lag " << k;
    }
  }
}

}  // namespace
}  // namespace kvr
