#include "results/rcs_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "comparison_example.h"

namespace kvr {
namespace {

constexpr double NA = kNotAvailable;

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
      {comparison_with_curve(), "Age Aligned   Class_size=  50      ",
       "# input file: site.rwl\n"
       "# run title: Age Aligned   Class_size=  50\n"
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
       "# run title: \n"
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
    write_curve_file(curve, {"site.rwl", {}, c.run_title}, c.comparison.curve);
    EXPECT_EQ(curve.str(), c.curve_file);
    std::ostringstream rcs;
    write_rcs_file(rcs, {"site.rwl", {}, c.run_title}, c.comparison);
    EXPECT_EQ(rcs.str(), c.rcs_file);
  }
}

}  // namespace
}  // namespace kvr
