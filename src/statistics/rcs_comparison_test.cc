#include "statistics/rcs_comparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/dimensions.h"
#include "residual_rank_model.h"
#include "statistics/residual_rank_chronology.h"

namespace kvr {
namespace {

// The residual rank chronology against its plain model (every row prewhitened whole by an AR
// model written from its definition, the residuals stored in single precision in a grid as
// large as the input, and that grid given to build_chronology). Rows with gaps, a row too
// short and a constant row (left out), over more years than one block of the computation.
TEST(RcsComparisonTest, ResidualRankChronologyAgreesWithItsModel) {
  constexpr int kRows = 6;
  constexpr int kYears = 150;
  std::mt19937 random(3);
  std::uniform_real_distribution<float> width(0.3f, 2.5f);
  Grid<float> by_year(kRows, kYears, kMissing);
  for (int i = 1; i <= 4; ++i) {
    for (int p = 5 * i; p <= kYears - i; ++p) by_year(i, p) = width(random);
  }
  by_year(2, 70) = kMissing;
  by_year(3, 71) = kMissing;
  for (int p = 1; p <= 3; ++p) by_year(5, p) = 1.0f;
  for (int p = 10; p <= 90; ++p) by_year(6, p) = 0.7f;

  const Chronology expected = test::modelled_residual_chronology(by_year, kRows, kYears);
  const ResidualRankChronology actual = residual_rank_chronology(by_year, kRows, kYears);
  EXPECT_EQ(actual.sample_depth, expected.sample_depth);
  ASSERT_EQ(actual.robust_mean.size(), expected.robust_mean.size());
  for (std::size_t y = 0; y < actual.robust_mean.size(); ++y) {
    EXPECT_NEAR(actual.robust_mean[y], expected.robust_mean[y], 1e-6f) << y;
  }
}

// Years are matched by calendar year; a year enters only where both chronologies have a value
// from at least two series.
TEST(RcsComparisonTest, CorrelationOverTheCommonWellReplicatedYears) {
  const YearChronology a{1900, {1.0, 2.0, 3.0, 4.0, 5.0, kNotAvailable}, {2, 2, 2, 1, 2, 0}};
  const YearChronology b{1901, {2.5, 2.9, 100.0, 7.0, 7.5}, {3, 3, 3, 3, 3}};
  // Common years with both depths >= 2: 1901, 1902 and 1904 (1903 has depth 1 in a, 1905 no
  // value): r of (2, 3, 5) and (2.5, 2.9, 7).
  const ChronologyCorrelation c = correlate_chronologies(a, b);
  EXPECT_EQ(c.years, 3);
  ASSERT_TRUE(c.r);
  EXPECT_NEAR(*c.r, 0.96814425224775, 1e-12);
  EXPECT_FALSE(correlate_chronologies(a, YearChronology{1950, {1.0}, {5}}).r);
}

}  // namespace
}  // namespace kvr
