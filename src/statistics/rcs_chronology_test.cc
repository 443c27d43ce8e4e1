#include "statistics/rcs_chronology.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "statistics/regional_curve.h"

namespace kvr {
namespace {

// Values a + b * age from age 1, scaled by `factor`, starting in `first_year`.
MeasuredSeries line(int first_year, int ages, double a, double b, double factor) {
  MeasuredSeries s{"L", first_year, {}};
  for (int age = 1; age <= ages; ++age) s.mm.push_back(factor * (a + b * age));
  return s;
}

// Three series on one straight growth line, scaled by 0.9, 1 and 1.1 and started in different
// years: the biweight mean by age is the line, which the spline keeps, so the indices are the
// factors and the chronology is 1 wherever the three overlap. The index series are constant
// but for rounding: prewhitened, they keep their level where all of them have a residual.
TEST(RcsChronologyTest, SeriesOnOneGrowthLine) {
  const std::vector<MeasuredSeries> set = {line(1800, 30, 3.0, -0.05, 0.9),
                                           line(1805, 40, 3.0, -0.05, 1.0),
                                           line(1810, 30, 3.0, -0.05, 1.1)};
  const RegionalCurve curve = regional_curve(set);
  ASSERT_TRUE(curve.usable());
  EXPECT_EQ(curve.ages(), 40);
  EXPECT_EQ(curve.stiffness, 4);
  EXPECT_EQ(curve.series_by_age[0], 3);
  EXPECT_EQ(curve.series_by_age[39], 1);
  for (int age = 1; age <= 30; ++age) {
    EXPECT_NEAR(curve.curve[static_cast<std::size_t>(age - 1)], 3.0 - 0.05 * age, 1e-12) << age;
  }
  const RcsChronology rcs = rcs_chronology(set, curve);
  EXPECT_EQ(rcs.indices.first_year, 1800);
  ASSERT_EQ(rcs.indices.years(), 45);
  EXPECT_NEAR(rcs.indices.values[0], 0.9, 1e-12);   // 1800: the first series alone
  EXPECT_NEAR(rcs.indices.values[15], 1.0, 1e-12);  // 1815: all three
  EXPECT_EQ(rcs.indices.depth[15], 3);
  EXPECT_NEAR(rcs.indices.values[44], 1.0, 1e-12);  // 1844: the second alone
  for (int y = 0; y < rcs.indices.years(); ++y) {
    const auto i = static_cast<std::size_t>(y);
    if (rcs.residuals.depth[i] != rcs.indices.depth[i]) continue;
    EXPECT_NEAR(rcs.residuals.values[i], rcs.indices.values[i], 1e-9) << 1800 + y;
  }
}

// No RCS for one series or for fewer than 10 ages; a stiffness of 1 (10 to 19 ages) becomes the
// curve's length; a curve of 0 or below leaves the indices of its ages out.
TEST(RcsChronologyTest, NoCurveShortCurvesAndCurvesBelowZero) {
  const RegionalCurve one = regional_curve(std::vector<MeasuredSeries>{line(1900, 50, 2, 0, 1)});
  EXPECT_EQ(one.no_rcs, NoRcsReason::kTooFewSeries);
  EXPECT_TRUE(rcs_chronology(std::vector<MeasuredSeries>{line(1900, 50, 2, 0, 1)}, one)
                  .indices.values.empty());

  const std::vector<MeasuredSeries> nine = {line(1900, 9, 2, 0, 1), line(1901, 9, 2, 0, 1)};
  EXPECT_EQ(regional_curve(nine).no_rcs, NoRcsReason::kTooFewAges);
  EXPECT_TRUE(std::isnan(regional_curve(nine).curve[0]));

  const std::vector<MeasuredSeries> fifteen = {line(1900, 15, 2, 0.1, 1),
                                               line(1901, 12, 2, 0.1, 1)};
  EXPECT_EQ(regional_curve(fifteen).stiffness, 15);

  // 11 - age: the curve (the line itself) is 0 at age 11 and -1 at age 12.
  const std::vector<MeasuredSeries> falling = {line(1900, 12, 11, -1, 1),
                                               line(1950, 12, 11, -1, 1)};
  const RegionalCurve below = regional_curve(falling);
  EXPECT_EQ(below.nonpositive_ages, 2);
  const RcsChronology rcs = rcs_chronology(falling, below);
  EXPECT_NEAR(rcs.indices.values[0], 1.0, 1e-12);
  EXPECT_TRUE(std::isnan(rcs.indices.values[10]));  // 1910, age 11
  EXPECT_EQ(rcs.indices.depth[10], 0);
}

}  // namespace
}  // namespace kvr
