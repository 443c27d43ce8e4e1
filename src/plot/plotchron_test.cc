#include "plot/plotchron.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "plot/plotmeas.h"
#include "plot_testing.h"

namespace kvr {
namespace {

constexpr float M = kMissing;

// plotchron takes the chronology as the analysis leaves it: the bands are not stored but
// derived from RobM and the standard error, so they must reach the page as RobM +- 2 SE, and
// not at all where the standard error is missing.
TEST(PlotchronTest, DrawsTheBandsDepthAndAverageOfTheChronology) {
  // Years 1901-1904, one series; the chronology of that year range:
  //   year    1901  1902  1903  1904
  //   depth   3     4     5     4
  //   RobM    1.0   1.2   1.5   0.8
  //   SE      -     0.1   0.25  0.05
  //   +2(se)  -     1.4   2.0   0.9
  //   -2(se)  -     1.0   1.0   0.7
  MeasurementSet set;
  set.series.push_back(SeriesInfo{"a", 1901, 1904, 4, 1});
  set.earliest_first_year = 1901;
  set.latest_last_year = 1904;
  set.longest_length = 4;
  set.time_span = 4;
  Grid<float> by_year(1, 4, M);
  for (int p = 1; p <= 4; ++p) by_year(1, p) = 0.5f * static_cast<float>(p);
  Chronology chronology;
  chronology.sample_depth = {3, 4, 5, 4};
  chronology.robust_mean = {1.0f, 1.2f, 1.5f, 0.8f};
  chronology.standard_error = {M, 0.1f, 0.25f, 0.05f};
  chronology.average = 1.125f;

  RecordedPlot plot("c\n");
  ASSERT_EQ(plotchron(plot.context, set, by_year, "spruce.rwl   ", kPlotTransformed, chronology),
            Answer::kOk);

  Calls lines;
  Calls windows;
  Calls labels;
  for (const std::string& call : plot.checked_calls()) {
    if (call.rfind("plline", 0) == 0) lines.push_back(call);
    if (call.rfind("plwind", 0) == 0) windows.push_back(call);
    if (call.rfind("pllab", 0) == 0) labels.push_back(call);
  }
  const Calls expected_lines = {
      "plline 4 1901,0.5 1902,1 1903,1.5 1904,2",              // the series
      "plline 3 1902,1.4 1903,2 1904,0.9",                     // +2(se)
      "plline 3 1902,1 1903,1 1904,0.7",                       // -2(se)
      "plline 4 1901,1.125 1902,1.125 1903,1.125 1904,1.125",  // Ave
      "plline 4 1901,1 1902,1.2 1903,1.5 1904,0.8",            // RobM
      "plline 4 1901,3 1902,4 1903,5 1904,4",                  // sample depth
  };
  EXPECT_EQ(lines, expected_lines);
  // Series top INT(2 + 0.5) + 1 = 3; band top 2.0 + 0.25; depth top 5 + 1.
  const Calls expected_windows = {"plwind 1890 1910 0 3", "plwind 1890 1910 0 2.25",
                                  "plwind 1890 1910 0 6"};
  EXPECT_EQ(windows, expected_windows);
  const Calls expected_labels = {"pllab \"Year\" \"PT Measurements\" \"spruce.rwl\"",
                                 "pllab \"Year\" \"PT Measurements\" \"Chronology\""};
  EXPECT_EQ(labels, expected_labels);
}

}  // namespace
}  // namespace kvr
