#include "measurements/power_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"

namespace kvr {
namespace {

// A set whose grid is `columns` wide; series j holds values[j - 1] from position 1 and the
// missing value behind it.
MeasurementSet make_set(const std::vector<std::vector<float>>& values, int columns) {
  MeasurementSet set;
  set.values.reset(static_cast<int>(values.size()), columns, kMissing);
  for (std::size_t j = 0; j < values.size(); ++j) {
    SeriesInfo info;
    info.id = "S       ";
    info.first_year = 1900;
    info.length = static_cast<int>(values[j].size());
    info.last_year = info.first_year + info.length - 1;
    set.series.push_back(info);
    for (std::size_t i = 0; i < values[j].size(); ++i) {
      set.values(static_cast<int>(j) + 1, static_cast<int>(i) + 1) = values[j][i];
    }
  }
  return set;
}

std::vector<float> row(const MeasurementSet& set, int j, int columns) {
  std::vector<float> out;
  for (int i = 1; i <= columns; ++i) out.push_back(set.values(j, i));
  return out;
}

TEST(PowerTransformTest, PowerFromSlope) {
  struct Case {
    float slope;
    float power;
  };
  const Case cases[] = {
      {1.0f, 0.0f},                         // spread in proportion to level: log transform
      {0.96f, 0.0f},                        // 0.04 is below the lowest power
      {0.95f, 1.0f - 0.95f},                // 0.05 (as near as single precision gets) is kept
      {0.5f, 0.5f},          {0.0f, 1.0f},  // spread independent of level
      {-0.7f, 1.0f},                        // spread falling with level
      {2.5f, 0.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(power_from_slope(c.slope), c.power) << c.slope;
  EXPECT_GE(power_from_slope(0.95f), 0.05f);
}

TEST(PowerTransformTest, RegressionSlope) {
  struct Case {
    const char* name;
    std::vector<float> x;
    std::vector<float> y;
    float slope;
  };
  const Case cases[] = {
      {"no points", {}, {}, 0.0f},
      {"one point", {2.0f}, {5.0f}, 0.0f},
      {"all x equal", {3.0f, 3.0f, 3.0f}, {1.0f, 2.0f, 4.0f}, 0.0f},
      {"rising line", {0.0f, 1.0f, 2.0f, 3.0f}, {1.0f, 3.0f, 5.0f, 7.0f}, 2.0f},
      {"falling line", {1.0f, 2.0f, 4.0f}, {-1.0f, -2.0f, -4.0f}, -1.0f},
      {"scatter", {1.0f, 2.0f, 3.0f}, {1.0f, 3.0f, 2.0f}, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(regression_slope(c.x, c.y), c.slope);
  }
}

TEST(PowerTransformTest, SeriesPower) {
  struct Case {
    const char* name;
    std::vector<float> values;
    float power;
  };
  const Case cases[] = {
      // Each change equals the later value's half: slope 1.
      {"spread grows with level", {1.0f, 2.0f, 4.0f, 8.0f, 16.0f}, 0.0f},
      // Points (ln 9, ln 3) and (ln 1, ln 1): slope 1/2. The pair (9, 0) has no level.
      {"square-root spread", {6.0f, 9.0f, 0.0f, 1.0f}, 0.5f},
      // An unchanged value and non-positive levels leave the same two points.
      {"pairs left out", {6.0f, 9.0f, 9.0f, -3.0f, 0.0f, 1.0f}, 0.5f},
      {"constant spread", {1.0f, 2.0f, 3.0f, 4.0f, 5.0f}, 1.0f},
      {"falling spread", {10.0f, 1.0f, 2.0f, 1.5f, 2.5f}, 1.0f},
      {"two values", {2.0f, 5.0f}, 1.0f},
      {"one value", {2.0f}, 1.0f},
      {"no values", {}, 1.0f},
      {"constant", {3.0f, 3.0f, 3.0f}, 1.0f},
      // Pairs with a missing value are left out: (6, 9) and (0, 1) remain; without that the
      // pair (M, 9) would add a point of spread 109 at level 9.
      {"missing values", {kMissing, 6.0f, 9.0f, kMissing, 9.0f, 0.0f, 1.0f, kMissing}, 0.5f},
      {"only missing", {kMissing, kMissing}, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(series_power(c.values), c.power, 1e-6f);
  }
}

TEST(PowerTransformTest, TransformsAndRescalesOntoTheOldRange) {
  struct Case {
    const char* name;
    std::vector<float> values;
    std::vector<float> expected;
  };
  const float ln320 = std::log(320.0f);
  const Case cases[] = {
      // Power 0: ln(2^k) / ln 16 = k / 4 of the range 15 above the minimum 1.
      {"log", {1.0f, 2.0f, 4.0f, 8.0f, 16.0f}, {1.0f, 4.75f, 8.5f, 12.25f, 16.0f}},
      // Power 0 with a level of 0: ln 0.05 stands in for ln 0, so v -> 16 ln(v / 0.05) / ln 320.
      {"log of zero",
       {1.0f, 2.0f, 4.0f, 8.0f, 16.0f, 0.0f},
       {16.0f * std::log(20.0f) / ln320, 16.0f * std::log(40.0f) / ln320,
        16.0f * std::log(80.0f) / ln320, 16.0f * std::log(160.0f) / ln320, 16.0f, 0.0f}},
      // Power 1/2, 0 raised to 0.01 first: sqrt gives (2.449, 3, 0.1, 1) mapped from
      // [0.1, 3] onto [0, 9].
      {"square root",
       {6.0f, 9.0f, 0.0f, 1.0f},
       {(std::sqrt(6.0f) - 0.1f) * 9.0f / 2.9f, 9.0f, 0.0f, 0.9f * 9.0f / 2.9f}},
      // Power 1 (every change is 1): the series comes back as it was.
      {"power 1", {2.5f, 3.5f, 4.5f, 3.5f}, {2.5f, 3.5f, 4.5f, 3.5f}},
      {"constant", {3.0f, 3.0f, 3.0f}, {3.0f, 3.0f, 3.0f}},
      {"one value", {7.0f}, {7.0f}},
      // Power 1 lifts every value to 0.01: nothing left to rescale, kept as it was.
      {"all below the floor", {-1.0f, -2.0f, 0.005f}, {-1.0f, -2.0f, 0.005f}},
      // Missing cells stay missing and take no part in the range: the square-root case with
      // gaps, also at both ends (a gap read as -99.99 would set the minimum).
      {"missing cells",
       {kMissing, 6.0f, 9.0f, kMissing, 0.0f, 1.0f, kMissing},
       {kMissing, (std::sqrt(6.0f) - 0.1f) * 9.0f / 2.9f, 9.0f, kMissing, 0.0f, 0.9f * 9.0f / 2.9f,
        kMissing}},
      {"only missing", {kMissing, kMissing}, {kMissing, kMissing}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int columns = static_cast<int>(c.values.size()) + 3;
    MeasurementSet set = make_set({c.values}, columns);
    float mean_power = -1.0f;
    ASSERT_TRUE(power_transform(&set, &mean_power));
    const std::vector<float> got = row(set, 1, columns);
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_NEAR(got[i], c.expected[i], 1e-4f * (1.0f + std::fabs(c.expected[i]))) << i;
    }
    // Positions behind the series are not touched.
    for (std::size_t i = c.values.size(); i < got.size(); ++i) EXPECT_EQ(got[i], kMissing);
  }
}

// The transform is monotone and maps the minimum and maximum onto themselves.
TEST(PowerTransformTest, KeepsOrderMinimumAndMaximum) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> width(0.05f, 4.0f);
  for (int round = 0; round < 50; ++round) {
    std::vector<float> values(60);
    for (float& v : values) v = width(random) * (1.0f + static_cast<float>(round % 5));
    MeasurementSet set = make_set({values}, 60);
    float mean_power = 0.0f;
    ASSERT_TRUE(power_transform(&set, &mean_power));
    const std::vector<float> got = row(set, 1, 60);
    float low = values[0];
    float high = values[0];
    for (float v : values) {
      low = std::min(low, v);
      high = std::max(high, v);
    }
    float got_low = got[0];
    float got_high = got[0];
    for (std::size_t i = 0; i < got.size(); ++i) {
      got_low = std::min(got_low, got[i]);
      got_high = std::max(got_high, got[i]);
      for (std::size_t k = 0; k < got.size(); ++k) {
        if (values[i] < values[k]) {
          ASSERT_LE(got[i], got[k]);
        }
      }
    }
    EXPECT_EQ(got_low, low);
    EXPECT_NEAR(got_high, high, 1e-5f * high);
  }
}

TEST(PowerTransformTest, MeanPowerCountsEverySeries) {
  struct Case {
    const char* name;
    std::vector<std::vector<float>> series;
    const char* printed;  // as the driver prints it: 8 columns, 3 decimals
  };
  const Case cases[] = {
      {"powers 0, 1/2 and 1",
       {{1.0f, 2.0f, 4.0f, 8.0f, 16.0f}, {6.0f, 9.0f, 0.0f, 1.0f}, {2.0f, 5.0f}},
       "   0.500"},
      // The constant series is not rescaled, but its power 1 counts.
      {"with a constant series", {{1.0f, 2.0f, 4.0f, 8.0f, 16.0f}, {3.0f, 3.0f}}, "   0.500"},
      {"all log", {{1.0f, 2.0f, 4.0f, 8.0f, 16.0f}}, "   0.000"},
      {"no series", {}, "   0.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MeasurementSet set = make_set(c.series, 5);
    float mean_power = -1.0f;
    ASSERT_TRUE(power_transform(&set, &mean_power));
    EXPECT_EQ(format_fixed(static_cast<double>(mean_power), 8, 3), c.printed);
  }
}

TEST(PowerTransformTest, SeriesWithoutValuesIsNeverRead) {
  // A grid without columns: any read of a value would be out of range.
  MeasurementSet set = make_set({{}, {}}, 0);
  float mean_power = 0.0f;
  ASSERT_TRUE(power_transform(&set, &mean_power));
  EXPECT_EQ(mean_power, 1.0f);

  MeasurementSet empty;
  mean_power = -1.0f;
  ASSERT_TRUE(power_transform(&empty, &mean_power));
  EXPECT_EQ(mean_power, 0.0f);
}

TEST(PowerTransformTest, FailureLeavesTheSetUnchanged) {
  constexpr float kHuge = 3.0e38f;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  struct Case {
    const char* name;
    std::vector<float> bad;
  };
  const Case cases[] = {
      {"not a number", {1.0f, nan, 2.0f}},
      {"infinite", {1.0f, 2.0f, infinity}},
      {"minus infinity", {-infinity, -infinity}},
      // Finite values whose range overflows: the rescaled values are not finite.
      {"range overflows", {-kHuge, kHuge}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::vector<float>> values = {{1.0f, 2.0f, 4.0f, 8.0f, 16.0f}, c.bad};
    MeasurementSet set = make_set(values, 6);
    const MeasurementSet before = set;
    float mean_power = -1.0f;
    EXPECT_FALSE(power_transform(&set, &mean_power));
    EXPECT_EQ(mean_power, 0.0f);
    for (int j = 1; j <= 2; ++j) {
      const std::vector<float> got = row(set, j, 6);
      const std::vector<float> old = row(before, j, 6);
      for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_TRUE(got[i] == old[i] || (std::isnan(got[i]) && std::isnan(old[i])));
      }
    }
  }
}

TEST(PowerTransformTest, TableThatDoesNotFitTheGridFails) {
  MeasurementSet too_long = make_set({{1.0f, 2.0f, 3.0f}}, 3);
  too_long.series[0].length = 4;
  float mean_power = -1.0f;
  EXPECT_FALSE(power_transform(&too_long, &mean_power));

  MeasurementSet too_many = make_set({{1.0f, 2.0f}}, 2);
  too_many.series.push_back(too_many.series[0]);
  EXPECT_FALSE(power_transform(&too_many, &mean_power));
  EXPECT_EQ(row(too_many, 1, 2), (std::vector<float>{1.0f, 2.0f}));
}

}  // namespace
}  // namespace kvr
