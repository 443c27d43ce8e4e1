#include "results/series_report_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kvr {
namespace {

constexpr double NA = kNotAvailable;

// %.6g figures and NA; an id with a '#' (which would cut the row for the readers) and a series
// without values; a segment without r.
TEST(SeriesReportFilesTest, BothTablesAsTheReadersTakeThem) {
  SeriesReport report;
  const SeriesFigures a{.id = "ABC01   ",
                        .values = 174,
                        .first = -2162,
                        .last = -1989,
                        .years = 174,
                        .mean = 0.9140977011,
                        .median = 0.9925,
                        .stdev = 0.4182300259,
                        .skew = -0.1814478332,
                        .kurtosis = -0.8639415397,
                        .gini = 0.2595355875,
                        .ar1 = 0.89717411,
                        .sens1 = 0.1632358338,
                        .ar_order = 5,
                        .intercor = 0.4217376438,
                        .intercor_p = 9.320678766e-09};
  SeriesFigures b;
  b.id = "X#2";
  report.series = {a, b};
  report.segments = {
      {0, -2100, 0.6947745722, 1.088664894e-08}, {0, -2075, NA, NA}, {0, -2050, 0.05, 0.36}};
  report.set = {2, 0.612348, 0.318, 0.512, 3, 1};

  // The head of a NOAA template's run: its source lines between the name and the title.
  const std::vector<std::string> source = {"Study_Name: Ridge"};
  std::ostringstream series;
  write_series_file(series, {"site\tname.rwl   ", source, "Age Aligned  "}, report);
  EXPECT_EQ(series.str(),
            "# input file: site?name.rwl\n"
            "# Study_Name: Ridge\n"
            "# run title: Age Aligned\n"
            "# series=2 mean_intercor=0.612348 mean_sens1=0.318 mean_ar1=0.512 segments=3 "
            "flagged=1\n"
            "series\tfirst\tlast\tyear\tmean\tmedian\tstdev\tskew\tkurtosis\tgini\tar1\tsens1\t"
            "ar_order\tintercor\tintercor_p\n"
            "ABC01\t-2162\t-1989\t174\t0.914098\t0.9925\t0.41823\t-0.181448\t-0.863942\t0.259536\t"
            "0.897174\t0.163236\t5\t0.421738\t9.32068e-09\n"
            "X?2\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\n");

  std::ostringstream segments;
  write_segments_file(segments, {"site.rwl", {}, ""}, report);
  EXPECT_EQ(segments.str(),
            "# input file: site.rwl\n"
            "# run title: \n"
            "# method: Pearson correlation of each prewhitened series with the biweight mean of "
            "the other series, over segments of 50 years lagged 25; p >= 0.05 flagged\n"
            "series\tseg_start\tseg_end\tr\tp\tflagged\n"
            "ABC01\t-2100\t-2051\t0.694775\t1.08866e-08\t0\n"
            "ABC01\t-2075\t-2026\tNA\tNA\t0\n"
            "ABC01\t-2050\t-2001\t0.05\t0.36\t1\n");
}

}  // namespace
}  // namespace kvr
