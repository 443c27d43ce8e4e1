#include "driver/report_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvr {
namespace {

constexpr double NA = kNotAvailable;

// Twelve flagged segments (ten listed, two counted) among others; a series without master.
TEST(ReportLinesTest, SeriesReportBlock) {
  SeriesReport report;
  report.series = {SeriesFigures{.id = "AB01", .intercor = 0.5},
                   SeriesFigures{.id = "LONGID12", .intercor = NA}};
  report.segments.push_back({0, 1800, 0.61, 0.001});
  for (int k = 0; k < 12; ++k) report.segments.push_back({k % 2, 1825 + 25 * k, -0.05, 0.6});
  report.set = {2, 0.5, 0.31234, NA, 13, 12};
  const std::vector<std::string> lines = series_report_lines(report);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1],
            " Series report (each series prewhitened, against the biweight mean of the others):");
  EXPECT_EQ(lines[2],
            "  mean interseries correlation 0.5000 over 1 of 2 series; mean sensitivity 0.3123, "
            "mean AR1 NA");
  EXPECT_EQ(lines[3], "  segments of 50 years lagged 25: 13, flagged (p >= 0.05): 12");
  EXPECT_EQ(lines[4], "  AB01      1825 to 1874  r = -0.0500");
  EXPECT_EQ(lines[5], "  LONGID12  1850 to 1899  r = -0.0500");
  EXPECT_EQ(lines[14], "  ... and 2 more");
  EXPECT_EQ(lines[15], "  (every figure in KVRseries.txt and KVRsegments.txt)");
}

TEST(ReportLinesTest, RcsBlock) {
  RcsComparison c;
  c.curve.stiffness = 31;
  c.curve.nonpositive_ages = 2;
  c.rank_vs_rcs = {0.81234, 291};
  c.residuals = {{}, 1};
  EXPECT_EQ(rcs_lines(c),
            (std::vector<std::string>{
                "",
                " RCS comparison (regional curve: spline of stiffness 31 years over the biweight "
                "mean by age):",
                "  rank vs RCS chronology:         r = 0.8123 over 291 years",
                "  residual rank vs residual RCS:  r = NA over 1 years",
                "  warning: the regional curve is at or below 0 at 2 ages; their values have no "
                "index",
                "  (in KVRcurve.txt and KVRrcs.txt)"}));
  c.curve.no_rcs = NoRcsReason::kTooFewSeries;
  EXPECT_EQ(rcs_lines(c),
            (std::vector<std::string>{
                "", " RCS comparison: no regional curve, fewer than 2 series have a value",
                "  (KVRcurve.txt and KVRrcs.txt hold no RCS values)"}));
}

}  // namespace
}  // namespace kvr
