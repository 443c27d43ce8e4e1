#include "results/rcs_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace kvr {
namespace {

constexpr double NA = kNotAvailable;

// A curve of three ages (one without a value, one below 0) and the comparison over four
// years, the rank chronology a year longer than the RCS one at each end.
RcsComparison with_curve() {
  RcsComparison c;
  c.curve.series_by_age = {2, 0, 1};
  c.curve.mean_by_age = {1.25, NA, 0.75};
  c.curve.curve = {1.2, NA, -0.01};
  c.curve.stiffness = 10;
  c.curve.nonpositive_ages = 1;
  c.rank = {1900, {1.5, 0.1000000015, NA, 2.0}, {1, 3, 0, 2}};
  c.rank_residual = {1900, {NA, 0.9, NA, 1.1}, {0, 3, 0, 2}};
  c.rcs.indices = {1901, {0.8, 1.2}, {3, 1}};
  c.rcs.residuals = {1901, {NA, 1.05}, {0, 1}};
  c.rank_vs_rcs = {0.81234, 291};
  c.residuals = {{}, 2};
  return c;
}

// Too few ages: the reason in a comment, the header alone; the RCS columns NA.
RcsComparison without_curve() {
  RcsComparison c;
  c.curve.no_rcs = NoRcsReason::kTooFewAges;
  c.rank = {1900, {1.5}, {4}};
  c.rank_residual = {1900, {NA}, {0}};
  return c;
}

TEST(RcsFilesTest, CurveAndComparisonTables) {
  const struct {
    RcsComparison comparison;
    const char* run_title;
    const char* curve_file;
    const char* rcs_file;
  } cases[] = {
      {with_curve(), "Age Aligned   Class_size=  50      ",
       "# input file: site.rwl\n"
       "# spline: Cook-Peters, stiffness 10 years, f = 0.5, over the biweight mean by age\n"
       "# regional curve at or below 0 at 1 ages: their values have no index\n"
       "age\tn\tmean_by_age\tcurve\n"
       "1\t2\t1.25\t1.2\n"
       "2\t0\tNA\tNA\n"
       "3\t1\t0.75\t-0.01\n",
       "# input file: site.rwl\n"
       "# run title: Age Aligned   Class_size=  50\n"
       "# rank vs RCS: r=0.8123 years=291\n"
       "# residual rank vs residual RCS: r=NA years=2\n"
       "year\trank\trank_res\trcs\trcs_res\tdepth\n"
       "1900\t1.5\tNA\tNA\tNA\t0\n"
       "1901\t0.1\t0.9\t0.8\tNA\t3\n"
       "1902\tNA\tNA\t1.2\t1.05\t1\n"
       "1903\t2\t1.1\tNA\tNA\t0\n"},
      {without_curve(), "",
       "# input file: site.rwl\n"
       "# no regional curve: fewer than 10 ages have a value\n"
       "age\tn\tmean_by_age\tcurve\n",
       "# input file: site.rwl\n"
       "# run title: \n"
       "# rank vs RCS: r=NA years=0\n"
       "# residual rank vs residual RCS: r=NA years=0\n"
       "year\trank\trank_res\trcs\trcs_res\tdepth\n"
       "1900\t1.5\tNA\tNA\tNA\tNA\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream curve;
    write_curve_file(curve, "site.rwl", c.comparison.curve);
    EXPECT_EQ(curve.str(), c.curve_file);
    std::ostringstream rcs;
    write_rcs_file(rcs, "site.rwl", c.run_title, c.comparison);
    EXPECT_EQ(rcs.str(), c.rcs_file);
  }
}

}  // namespace
}  // namespace kvr
