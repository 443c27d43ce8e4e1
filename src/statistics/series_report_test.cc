#include "statistics/series_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "numeric/ar_model.h"
#include "numeric/correlation.h"

namespace kvr {
namespace {

// `years` ring widths from `first_year`: a signal shared by every series of one seed, noise
// of the series' own and a slow trend.
MeasuredSeries series(const char* id, int first_year, int years, unsigned own_seed) {
  std::mt19937 common(7);
  std::mt19937 own(own_seed);
  std::normal_distribution<double> noise(0.0, 0.2);
  MeasuredSeries s{id, first_year, {}};
  for (int i = 0; i < years; ++i) {
    const double shared = noise(common);  // the same draw for every series
    s.mm.push_back(1.5 - 0.005 * i + shared + noise(own));
  }
  return s;
}

// The prewhitened values of a series (mean-scaled, gaps closed) at their years; NaN elsewhere.
std::vector<double> prewhitened(const MeasuredSeries& s) {
  std::vector<double> present;
  for (double v : s.mm) {
    if (!std::isnan(v)) present.push_back(v);
  }
  double mean = 0.0;
  for (double v : present) mean += v;
  mean /= static_cast<double>(present.size());
  for (double& v : present) v /= mean;
  const std::optional<ArModel> model = fit_ar_model(present);
  std::vector<double> residuals(present.size());
  prewhiten(*model, present, residuals);
  std::vector<double> at_years(s.mm.size(), kNotAvailable);
  std::size_t k = 0;
  for (std::size_t i = 0; i < s.mm.size(); ++i) {
    if (!std::isnan(s.mm[i])) at_years[i] = residuals[k++];
  }
  return at_years;
}

// Pearson's r over years first..last of two series' prewhitened values, which start together.
std::optional<double> r_between(const MeasuredSeries& a, const MeasuredSeries& b, int first,
                                int last) {
  const std::vector<double> pa = prewhitened(a);
  const std::vector<double> pb = prewhitened(b);
  std::vector<double> x, y;
  for (int year = first; year <= last; ++year) {
    const auto i = static_cast<std::size_t>(year - a.first_year);
    if (std::isnan(pa[i]) || std::isnan(pb[i])) continue;
    x.push_back(pa[i]);
    y.push_back(pb[i]);
  }
  return pearson(x, y);
}

// Two series and two that take part in no master (three values; constant): each of the two is
// the other's whole master, so both have the same correlation, that of their prewhitened
// values; a segment exists where both have every year.
TEST(SeriesReportTest, TwoSeriesAreEachOthersMaster) {
  const std::vector<MeasuredSeries> set = {series("A", 1900, 80, 1),
                                           {"short", 1950, {1.0, 2.0, 1.5}},
                                           series("B", 1900, 80, 2),
                                           {"flat", 1910, std::vector<double>(30, 0.8)}};
  const SeriesReport report = series_report(set);
  ASSERT_EQ(report.series.size(), 4u);
  const SeriesFigures& a = report.series[0];
  const SeriesFigures& b = report.series[2];
  for (const SeriesFigures* outside : {&report.series[1], &report.series[3]}) {
    EXPECT_FALSE(outside->ar_order) << outside->id;
    EXPECT_TRUE(std::isnan(outside->intercor)) << outside->id;
  }
  ASSERT_TRUE(a.ar_order && b.ar_order);
  const double expected = *r_between(set[0], set[2], 1900, 1979);
  EXPECT_NEAR(a.intercor, expected, 1e-12);
  EXPECT_NEAR(b.intercor, expected, 1e-12);
  EXPECT_GT(a.intercor, 0.3);
  EXPECT_LT(a.intercor_p, 0.01);

  // Segments start at 1900 and 1925 (the last start is 1979 - 49); the first needs values from
  // 1900 on, which only order 0 on both sides gives.
  const bool first_segment = *a.ar_order == 0 && *b.ar_order == 0;
  ASSERT_EQ(report.segments.size(), first_segment ? 4u : 2u);
  const SegmentFigures& late = report.segments[first_segment ? 1 : 0];
  EXPECT_EQ(late.series, 0);
  EXPECT_EQ(late.start, 1925);
  EXPECT_EQ(late.end(), 1974);
  EXPECT_NEAR(late.r, *r_between(set[0], set[2], 1925, 1974), 1e-12);
  EXPECT_EQ(late.flagged(), late.p >= 0.05);
  EXPECT_EQ(report.set.series, 4);
  EXPECT_EQ(report.set.segments, static_cast<int>(report.segments.size()));
  EXPECT_NEAR(report.set.mean_intercor, expected, 1e-12);
}

// One series has no master; a missing cell closes up for the prewhitening and keeps the
// segment around it from being computed, for its series and for the one whose master it
// leaves without a value; a span of 40 years holds no segment.
TEST(SeriesReportTest, SeriesWithoutMasterGapsAndShortSpans) {
  const SeriesReport alone = series_report(std::vector<MeasuredSeries>{series("A", 1900, 60, 1)});
  EXPECT_TRUE(alone.series[0].ar_order);
  EXPECT_TRUE(std::isnan(alone.series[0].intercor));
  EXPECT_TRUE(alone.segments.empty());
  EXPECT_TRUE(std::isnan(alone.set.mean_intercor));

  std::vector<MeasuredSeries> gap = {series("A", 1900, 80, 1), series("B", 1900, 80, 2)};
  gap[0].mm[50] = kNotAvailable;  // 1950
  const SeriesReport with_gap = series_report(gap);
  for (const SegmentFigures& s : with_gap.segments) EXPECT_NE(s.start, 1925);
  EXPECT_NEAR(with_gap.series[0].intercor, *r_between(gap[0], gap[1], 1900, 1979), 1e-12);

  const SeriesReport short_span = series_report(
      std::vector<MeasuredSeries>{series("A", 1903, 40, 1), series("B", 1903, 40, 2)});
  EXPECT_TRUE(short_span.segments.empty());
  EXPECT_EQ(short_span.set.segments, 0);
  EXPECT_FALSE(std::isnan(short_span.series[0].intercor));
}

}  // namespace
}  // namespace kvr
