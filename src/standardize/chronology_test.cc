#include "standardize/chronology.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "common/dimensions.h"
#include "grid_testing.h"
#include "numeric/quicksort.h"

namespace kvr {
namespace {

struct RobmeanResult {
  int control = 2;
  float location = 42.0f;
  float scale = 42.0f;
  float standard_error = 42.0f;
};

RobmeanResult run_robmean(std::vector<float> x) {
  RobmeanResult r;
  std::vector<float> d(x.size(), 7.0f);
  robmean(x, d, &r.control, &r.location, &r.scale, &r.standard_error);
  EXPECT_TRUE(r.control == 0 || std::is_sorted(x.begin(), x.end()) || x.size() <= 3);
  return r;
}

TEST(RobmeanTest, WorkedExamples) {
  struct Case {
    const char* name;
    std::vector<float> x;
    int control;
    float location;
    float scale;
    float standard_error;
    float tolerance;  // 0: exact
  };
  const Case cases[] = {
      // No value: control 0 and nothing written (the outputs keep their 42).
      {"empty", {}, 0, 42.0f, 42.0f, 42.0f, 0.0f},
      {"one value", {5.5f}, 1, 5.5f, 0.0f, 0.0f, 0.0f},
      {"1,2,3: the mean", {3, 1, 2}, 1, 2.0f, 0.0f, 0.0f, 0.0f},
      // Median 2.5, MAD 1.0: scale 1.5 * MAD, error 1.5 * MAD / sqrt(4).
      {"1,2,3,10", {10, 1, 3, 2}, 2, 2.5f, 1.5f, 0.75f, 0.0f},
      // Median 3, MAD 1.0: scale 1.5, error 1.5 / sqrt(5).
      {"1,2,3,4,50", {50, 4, 3, 2, 1}, 2, 3.0f, 1.5f, 0.670820f, 1e-6f},
      // Four or five values with no spread take the n <= 5 branch: 1.5 * 0.
      {"2,2,2,9", {2, 9, 2, 2}, 2, 2.0f, 0.0f, 0.0f, 0.0f},
      // Median 3.5, MAD 1.5; 100 lies beyond 7.5 MAD and gets no weight.
      {"1,2,3,4,5,100", {100, 5, 4, 3, 2, 1}, 2, 3.0f, 1.7718f, 0.7233f, 5e-5f},
      {"1..6", {6, 2, 4, 1, 5, 3}, 2, 3.5f, 1.9921f, 0.8133f, 5e-5f},
      // MAD 0 < 0.0001 with six or more values: the median, no spread.
      {"seven equal", std::vector<float>(7, 0.37f), 2, 0.37f, 0.0f, 0.0f, 0.0f},
      {"1,1,1,1,2,3", {3, 1, 2, 1, 1, 1}, 2, 1.0f, 0.0f, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RobmeanResult r = run_robmean(c.x);
    EXPECT_EQ(r.control, c.control);
    if (c.tolerance == 0.0f) {
      EXPECT_EQ(r.location, c.location);
      EXPECT_EQ(r.scale, c.scale);
      EXPECT_EQ(r.standard_error, c.standard_error);
    } else {
      EXPECT_NEAR(r.location, c.location, c.tolerance);
      EXPECT_NEAR(r.scale, c.scale, c.tolerance);
      EXPECT_NEAR(r.standard_error, c.standard_error, c.tolerance);
    }
  }
}

TEST(RobmeanTest, MeanOfFewValuesIsSummedInDouble) {
  // Summed in single precision, 1e8 + 1 loses the 1 and the mean would be 0.
  const RobmeanResult r = run_robmean({1e8f, 1.0f, -1e8f});
  EXPECT_EQ(r.control, 1);
  EXPECT_EQ(r.location, static_cast<float>(1.0 / 3.0));
}

// robmean sorts its sample by a faster way than the quicksort; the sample, from which every
// figure is taken, must come out as the quicksort leaves it, bit for bit (zeros of both signs
// in their places).
TEST(RobmeanTest, SortsAsTheQuicksortDoes) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pick(-3, 3);
  std::uniform_real_distribution<float> width(0.05f, 3.0f);
  for (int trial = 0; trial < 300; ++trial) {
    const std::size_t n = 4 + static_cast<std::size_t>(trial) % 60;
    std::vector<float> x(n);
    for (float& v : x) {
      const int p = pick(rng);
      // Trials of the first third hold zeros of both signs; the others values near 1.
      if (trial >= 100) {
        v = width(rng);
      } else {
        v = p == 0 ? -0.0f : (p < 0 ? 0.0f : 1.5f);
      }
    }
    std::vector<float> expected = x;
    quicksort(expected);
    std::vector<float> d(n);
    int control = 2;
    float location = 0.0f;
    float scale = 0.0f;
    float standard_error = 0.0f;
    robmean(x, d, &control, &location, &scale, &standard_error);
    for (std::size_t i = 0; i < n; ++i) {
      ASSERT_EQ(std::signbit(x[i]), std::signbit(expected[i])) << "trial " << trial;
      ASSERT_EQ(x[i], expected[i]) << "trial " << trial;
    }
  }
}

TEST(HingesTest, OrderStatistics) {
  struct Case {
    const char* name;
    std::vector<float> x;
    float median, upper, lower, spread, minimum, maximum;
  };
  const Case cases[] = {
      {"1..7", {7, 1, 6, 2, 5, 3, 4}, 4.0f, 5.5f, 2.5f, 3.0f, 1.0f, 7.0f},
      {"1..8", {8, 1, 7, 2, 6, 3, 5, 4}, 4.5f, 6.5f, 2.5f, 4.0f, 1.0f, 8.0f},
      {"one value", {-2.5f}, -2.5f, -2.5f, -2.5f, 0.0f, -2.5f, -2.5f},
      {"two values", {3, 1}, 2.0f, 3.0f, 1.0f, 2.0f, 1.0f, 3.0f},
      // The mean of two elements is formed in double: in single precision 3e38 + 3e38
      // overflows to infinity.
      {"huge values", {3e38f, 3e38f}, 3e38f, 3e38f, 3e38f, 0.0f, 3e38f, 3e38f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<float> x = c.x;
    const Hinges h = hinges(x);
    EXPECT_TRUE(std::is_sorted(x.begin(), x.end()));
    EXPECT_EQ(h.median, c.median);
    EXPECT_EQ(h.upper_hinge, c.upper);
    EXPECT_EQ(h.lower_hinge, c.lower);
    EXPECT_EQ(h.hinge_spread, c.spread);
    EXPECT_EQ(h.minimum, c.minimum);
    EXPECT_EQ(h.maximum, c.maximum);
  }
}

constexpr float M = kMissing;

TEST(ChronologyTest, YearLoop) {
  // Years: 1 no value, 2 one value, 3 three values, 4 four values. Row 6 and year 5 lie
  // outside the series count and the time span and must not count.
  const Grid<float> grid = make_grid({
      {M, M, 1, 1, 9},
      {M, 0.8f, 2, 2, 9},
      {M, M, 3, 3, 9},
      {M, M, M, 10, 9},
      {M, M, M, M, 9},
      {9, 9, 9, 9, 9},
  });
  const Chronology c = build_chronology(grid, 5, 4);
  ASSERT_EQ(c.years(), 4);
  EXPECT_EQ(c.sample_depth, (std::vector<int>{0, 1, 3, 4}));
  EXPECT_EQ(c.robust_mean, (std::vector<float>{M, 0.8f, 2.0f, 2.5f}));
  EXPECT_EQ(c.standard_error, (std::vector<float>{M, M, M, 0.75f}));
  const std::vector<float> upper = {c.upper_band(1), c.upper_band(2), c.upper_band(3),
                                    c.upper_band(4)};
  const std::vector<float> lower = {c.lower_band(1), c.lower_band(2), c.lower_band(3),
                                    c.lower_band(4)};
  EXPECT_EQ(upper, (std::vector<float>{M, M, M, 4.0f}));
  EXPECT_EQ(lower, (std::vector<float>{M, M, M, 1.0f}));
  // Ave over the three years with a value, summed and divided in single precision.
  EXPECT_EQ(c.average, (0.8f + 2.0f + 2.5f) / 3.0f);
}

TEST(ChronologyTest, BandsWithoutSpreadEqualTheChronology) {
  const Grid<float> grid = make_grid({{0.4f}, {0.4f}, {0.4f}, {0.4f}, {0.4f}, {0.4f}, {0.4f}});
  const Chronology c = build_chronology(grid, 7, 1);
  EXPECT_EQ(c.standard_error[0], 0.0f);
  EXPECT_EQ(c.upper_band(1), 0.4f);
  EXPECT_EQ(c.lower_band(1), 0.4f);
}

TEST(ChronologyTest, WithoutAnyValue) {
  struct Case {
    const char* name;
    Grid<float> grid;
    int series_count;
    int time_span;
  };
  const Case cases[] = {
      {"all cells missing", make_grid({{M, M, M}, {M, M, M}}), 2, 3},
      {"no series", make_grid({{1, 2, 3}}), 0, 3},
      {"no year", make_grid({{1, 2, 3}}), 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Chronology chronology = build_chronology(c.grid, c.series_count, c.time_span);
    const std::size_t years = static_cast<std::size_t>(c.time_span);
    EXPECT_EQ(chronology.sample_depth, std::vector<int>(years, 0));
    EXPECT_EQ(chronology.robust_mean, std::vector<float>(years, M));
    EXPECT_EQ(chronology.standard_error, std::vector<float>(years, M));
    // Ave of no year is the missing value, not 0 / 0.
    EXPECT_EQ(chronology.average, M);
  }
}

TEST(ChronologyTest, NeverReadsOutsideTheGrid) {
  // A series count or time span larger than the grid: the cells beyond it hold no value.
  const Grid<float> grid = make_grid({{1, 2}, {3, 4}});
  const Chronology c = build_chronology(grid, 5, 4);
  EXPECT_EQ(c.sample_depth, (std::vector<int>{2, 2, 0, 0}));
  EXPECT_EQ(c.robust_mean, (std::vector<float>{2, 3, M, M}));
}

TEST(ChronologyTest, AgreesWithRobmeanOfEachYear) {
  // Many series and years, every fourth cell missing and whole empty stretches: each year
  // must be robmean of that year's values in series order, across the blocks of years the
  // loop reads at once.
  const int series = 37;
  const int years = 301;
  std::mt19937 rng(2024);
  std::uniform_real_distribution<float> width(0.05f, 3.0f);
  std::uniform_int_distribution<int> gap(0, 3);
  Grid<float> grid(series + 1, years + 3, M);
  for (int i = 1; i <= series; ++i) {
    const int first = 1 + (i * 17) % 120;
    const int last = years - (i * 29) % 90;
    for (int y = first; y <= last; ++y) {
      if (y > 130 && y < 140) continue;  // a stretch without values
      if (gap(rng) != 0) grid(i, y) = width(rng);
    }
  }

  const Chronology c = build_chronology(grid, series, years);
  ASSERT_EQ(c.years(), years);
  float sum = 0.0f;
  int count = 0;
  for (int y = 1; y <= years; ++y) {
    SCOPED_TRACE(y);
    std::vector<float> sample;
    for (int i = 1; i <= series; ++i) {
      if (!is_missing(grid(i, y))) sample.push_back(grid(i, y));
    }
    std::vector<float> scratch(sample.size());
    int control = 2;
    float location = 0.0f;
    float scale = 0.0f;
    float standard_error = 0.0f;
    const int n = static_cast<int>(sample.size());
    robmean(sample, scratch, &control, &location, &scale, &standard_error);
    const std::size_t k = static_cast<std::size_t>(y - 1);
    ASSERT_EQ(c.sample_depth[k], n);
    ASSERT_EQ(c.robust_mean[k], control == 0 ? M : location);
    ASSERT_EQ(c.standard_error[k], control == 2 ? standard_error : M);
    if (control != 0) {
      sum += location;
      ++count;
    }
  }
  EXPECT_GT(count, 0);
  EXPECT_LT(count, years);
  EXPECT_EQ(c.average, sum / static_cast<float>(count));
}

}  // namespace
}  // namespace kvr
