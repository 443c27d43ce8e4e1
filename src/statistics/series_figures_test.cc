#include "statistics/series_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kvr {
namespace {

constexpr double NA = kNotAvailable;

// Figures worked out by hand, and the cases where a figure does not exist: one value, a
// constant series, zeros only, two zero rings in a row, missing cells (the gaps closed).
TEST(SeriesFiguresTest, HandWorkedSeriesAndMissingFigures) {
  const struct {
    const char* name;
    std::vector<double> mm;
    int values, first, last, years;
    double figures[8];  // mean, median, stdev, skew, kurtosis, gini, ar1, sens1
  } cases[] = {
      // d = (-1.5, -0.5, 1.5, 0.5): sum d^2 = 5, sum d^3 = 0, sum d^4 = 10.25; C = 1, 3, 6, 10.
      {"four values",
       {1, 2, 4, 3},
       4,
       1900,
       1903,
       4,
       {2.5, 2.5, std::sqrt(5.0 / 3), 0.0, 4 * 10.25 / 25 * 0.5625 - 3, 0.25, 0.75 / 5, 34.0 / 63}},
      {"one value", {2.5}, 1, 1900, 1900, 1, {2.5, 2.5, NA, NA, NA, 0.0, NA, NA}},
      {"constant", {0.4, 0.4, 0.4}, 3, 1900, 1902, 3, {0.4, 0.4, 0.0, NA, NA, 0.0, NA, 0.0}},
      {"zeros only", {0, 0, 0}, 3, 1900, 1902, 3, {0.0, 0.0, 0.0, NA, NA, NA, NA, 0.0}},
      // d = (-2/3, -2/3, 4/3): sum d^2 = 8/3, sum d^3 = 16/9, sum d^4 = 32/9; |2 - 0| / 2 is the
      // only term of sens1, the pair of zero rings adds nothing to it.
      {"zero rings",
       {0, 0, 2},
       3,
       1900,
       1902,
       3,
       {2.0 / 3, 0.0, std::sqrt(4.0 / 3), 16.0 / 9 / (3 * std::pow(4.0 / 3, 1.5)), -7.0 / 3,
        2.0 / 3, -1.0 / 6, 1.0}},
      {"gaps",
       {NA, 1, NA, NA, 2, NA},
       2,
       1901,
       1904,
       4,
       {1.5, 1.5, std::sqrt(0.5), 0.0, -2.75, 1.0 / 6, -0.5, 2.0 / 3}},
      {"nothing", {NA, NA}, 0, 0, 0, 0, {NA, NA, NA, NA, NA, NA, NA, NA}},
  };
  SeriesFiguresWorkspace workspace;
  for (const auto& c : cases) {
    const SeriesFigures f = describe_series({"S", 1900, c.mm}, &workspace);
    EXPECT_EQ(f.id, "S");
    EXPECT_EQ(f.values, c.values) << c.name;
    EXPECT_EQ(f.first, c.first) << c.name;
    EXPECT_EQ(f.last, c.last) << c.name;
    EXPECT_EQ(f.years, c.years) << c.name;
    const double SeriesFigures::*figures[] = {&SeriesFigures::mean,     &SeriesFigures::median,
                                              &SeriesFigures::stdev,    &SeriesFigures::skew,
                                              &SeriesFigures::kurtosis, &SeriesFigures::gini,
                                              &SeriesFigures::ar1,      &SeriesFigures::sens1};
    for (std::size_t k = 0; k < 8; ++k) {
      if (std::isnan(c.figures[k])) {
        EXPECT_TRUE(std::isnan(f.*figures[k])) << c.name << " " << k << " " << f.*figures[k];
      } else {
        EXPECT_NEAR(f.*figures[k], c.figures[k], 1e-14) << c.name << " " << k;
      }
    }
  }
}

}  // namespace
}  // namespace kvr
