#include "plot/chronology_plot.h"

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

// Series by calendar position (kMissing outside each series), for the years first_year on.
struct Data {
  MeasurementSet set;
  Grid<float> by_year;
};

Data make_data(int first_year, int last_year, const std::vector<std::vector<float>>& rows) {
  Data d;
  const int span = last_year - first_year + 1;
  d.by_year.reset(static_cast<int>(rows.size()), span, kMissing);
  for (std::size_t j = 0; j < rows.size(); ++j) {
    int first = 0, last = 0;
    for (int p = 1; p <= span; ++p) {
      const float v = rows[j][static_cast<std::size_t>(p - 1)];
      d.by_year(static_cast<int>(j + 1), p) = v;
      if (is_missing(v)) continue;
      if (first == 0) first = p;
      last = p;
    }
    // A series runs from its first to its last value; gaps inside stay missing.
    d.set.series.push_back(
        SeriesInfo{"id", first_year + first - 1, first_year + last - 1, last - first + 1, first});
  }
  d.set.earliest_first_year = first_year;
  d.set.latest_last_year = last_year;
  d.set.time_span = span;
  return d;
}

struct Columns {
  std::vector<float> robust_mean, upper, lower;
  std::vector<int> depth;
  float average;
  ChronologyColumns view() const { return {robust_mean, upper, lower, depth, average}; }
};

Calls run(const Data& d, const Columns& c, int kind = kPlotRaw, const std::string& input = "c\n") {
  RecordedPlot plot(input);
  EXPECT_EQ(plot_chronology(plot.context, d.set, d.by_year, "oak.rwl  ", kind, c.view()),
            Answer::kOk);
  return plot.checked_calls();
}

Calls matching(const Calls& calls, const std::string& prefix) {
  Calls found;
  for (const std::string& call : calls) {
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  }
  return found;
}

// Years 1901-1910, two series; the chronology is given directly:
//   year     1901 1902 1903 1904 1905 1906 1907 1908 1909 1910
//   RobM     1.0  1.5  -    0.5  0.75 0.75 1.35 0.75 1.0  -0.5
//   depth    1    1    0    1    2    2    2    2    1    1
//   +2(se)   -    -    -    -    1.25 1.0  2.0  -    1.5  -
//   -2(se)   -    -    -    -    0.25 0.5  0.7  -    0.5  -
// 1903 (missing) and 1910 (negative) are left out of the chronology, mean and depth lines;
// 1908 (no standard error) of the band lines. The largest series value 2.2 gives the top 3
// (0.5 / 1), the largest band 2.0 the top 2.25 (0.5 / 0), the largest depth 2 the top 3.
Data two_series() {
  return make_data(1901, 1910,
                   {{1.0f, 1.5f, M, 0.5f, 1.0f, 1.0f, 2.2f, 1.0f, 1.0f, 1.0f},
                    {M, M, M, M, 0.5f, 0.5f, 0.5f, 0.5f, M, M}});
}

Columns chronology() {
  return Columns{{1.0f, 1.5f, M, 0.5f, 0.75f, 0.75f, 1.35f, 0.75f, 1.0f, -0.5f},
                 {M, M, M, M, 1.25f, 1.0f, 2.0f, M, 1.5f, M},
                 {M, M, M, M, 0.25f, 0.5f, 0.7f, M, 0.5f, M},
                 {1, 1, 0, 1, 2, 2, 2, 2, 1, 1},
                 0.95f};
}

TEST(ChronologyPlotTest, WholePageOfASmallChronology) {
  const Calls expected =
      join({white_window_opening(),
            {
                // Upper panel: the standardized series, joined across their missing years.
                "plwind 1890 1920 0 3",
                "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.5 1",
                "pllab \"Year\" \"RRW(mm.)\" \"oak.rwl\"",
                "plmtex \"rv\" -66 1.15 0 \"KVR Measurements\"",
                "plline 9 1901,1 1902,1.5 1904,0.5 1905,1 1906,1 1907,2.2 1908,1 1909,1 1910,1",
                "plline 4 1905,0.5 1906,0.5 1907,0.5 1908,0.5",
                // Lower panel: band, mean, chronology, depth.
                "pladv 0",
                "plcol0 15",
                "plvpor 0.12 0.9 0.2 0.85",
                "plwind 1890 1920 0 2.25",
                "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.5 0",
                "pllab \"Year\" \"RRW(mm.)\" \"Chronology\"",
                "pllsty 1",
                "plwid 1",
                "plstyl 1 1500 1500",
                "plcol0 9",
                "plline 4 1905,1.25 1906,1 1907,2 1909,1.5",
                "plline 4 1905,0.25 1906,0.5 1907,0.7 1909,0.5",
                "plstyl 0",
                "plcol0 15",
                "plwid 2",
                "plline 8 1901,0.95 1902,0.95 1904,0.95 1905,0.95 1906,0.95 1907,0.95 1908,0.95 "
                "1909,0.95",
                "plline 8 1901,1 1902,1.5 1904,0.5 1905,0.75 1906,0.75 1907,1.35 1908,0.75 1909,1",
                "plwid 1",
                "plcol0 1",
                "plwind 1890 1920 0 3",
                "plaxes 1890 0 \"\" 10 5 \"cmstv\" 1 0",
                "plmtex \"rv\" -10 1.15 0 \"Sample Depth\"",
                "plline 8 1901,1 1902,1 1904,1 1905,2 1906,2 1907,2 1908,2 1909,1",
                "plend",
            }});
  EXPECT_EQ(run(two_series(), chronology()), expected);
}

TEST(ChronologyPlotTest, LabelsAndFileByPlotKind) {
  const Calls transformed = run(two_series(), chronology(), kPlotTransformed, "s\nc\n");
  const Calls labels = {"pllab \"Year\" \"PT Measurements\" \"oak.rwl\"",
                        "pllab \"Year\" \"PT Measurements\" \"Chronology\""};
  // The window pass and the three file passes (PostScript, PDF, PNG) draw the same labels.
  Calls four_times;
  for (int pass = 0; pass < 4; ++pass)
    four_times.insert(four_times.end(), labels.begin(), labels.end());
  EXPECT_EQ(matching(transformed, "pllab"), four_times);
  EXPECT_EQ(
      matching(transformed, "plsfnam"),
      (Calls{"plsfnam \"KVR_fig2.ps\"", "plsfnam \"KVR_fig2.pdf\"", "plsfnam \"KVR_fig2.png\""}));
  EXPECT_EQ(matching(run(two_series(), chronology(), 0), "pllab"), Calls{});
}

TEST(ChronologyPlotTest, LowerPanelTopFromTheBands) {
  struct Case {
    float band;    // the one upper band value, in 1905
    float series;  // the one series value, in 1905
    const char* window;
    const char* axes;
  };
  const Case cases[] = {
      {0.7f, 0.5f, "plwind 1890 1920 0 0.95", "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.2 0"},
      {9.0f, 0.5f, "plwind 1890 1920 0 9.25", "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 2 1"},
      {99.0f, 0.5f, "plwind 1890 1920 0 99.25", "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 20 2"},
      {400.0f, 0.5f, "plwind 1890 1920 0 400.25", "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 50 1"},
      // Above 500 the upper panel's ticks: a top of 31 gives 10 / 2, one above 100 PLplot's.
      {600.0f, 30.0f, "plwind 1890 1920 0 600.25",
       "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 10 2"},
      {600.0f, 300.0f, "plwind 1890 1920 0 600.25",
       "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0 0"},
  };
  for (const Case& c : cases) {
    std::vector<float> row(10, M);
    row[4] = c.series;
    Columns columns = chronology();
    columns.upper.assign(10, M);
    columns.upper[4] = c.band;
    const Calls calls = run(make_data(1901, 1910, {row}), columns);
    EXPECT_EQ(matching(calls, "plwind")[1], c.window) << c.band;
    EXPECT_EQ(matching(calls, "plaxes")[1], c.axes) << c.band;
  }
}

TEST(ChronologyPlotTest, WithoutAnyBandTheTopComesFromTheChronology) {
  // Fewer than four series in every year: no standard error and no band anywhere. The top
  // must still lie above the chronology, not at -99.99 + 0.25.
  Columns columns = chronology();
  columns.upper.assign(10, M);
  columns.lower.assign(10, M);
  const Calls calls = run(two_series(), columns);
  EXPECT_EQ(matching(calls, "plwind")[1], "plwind 1890 1920 0 1.75");
  EXPECT_EQ(matching(calls, "plaxes")[1], "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.5 0");
  EXPECT_EQ(matching(calls, "plline 0").size(), 2u);  // the two band lines are empty

  // No chronology value either: a top of 0.25.
  columns.robust_mean.assign(10, M);
  EXPECT_EQ(matching(run(two_series(), columns), "plwind")[1], "plwind 1890 1920 0 0.25");
}

TEST(ChronologyPlotTest, LongSpanTakesCenturyTicks) {
  // 1650-1995: the year axis 1640-2000, width 360, ticks every 100 years with 10 subdivisions.
  const int span = 1995 - 1650 + 1;
  std::vector<float> row(static_cast<std::size_t>(span), 1.0f);
  Columns c{std::vector<float>(row.size(), 1.0f), std::vector<float>(row.size(), 1.5f),
            std::vector<float>(row.size(), 0.5f), std::vector<int>(row.size(), 1), 1.0f};
  const Calls calls = run(make_data(1650, 1995, {row}), c);
  for (const std::string& call : matching(calls, "plwind")) {
    EXPECT_EQ(call.rfind("plwind 1640 2000 0 ", 0), 0u) << call;
  }
  for (const std::string& call : matching(calls, "plaxes")) {
    EXPECT_EQ(call.rfind("plaxes 1640 0 ", 0), 0u) << call;
    EXPECT_NE(call.find(" 100 10 "), std::string::npos) << call;
  }
}

}  // namespace
}  // namespace kvr
