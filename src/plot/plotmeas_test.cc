#include "plot/plotmeas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "plot_testing.h"
#include "recording_plotter.h"

namespace kvr {
namespace {

constexpr float M = kMissing;

struct Series {
  int first_year;
  std::vector<float> values;
};

// An age-aligned measurement set, the value grid sized to the data.
MeasurementSet make_set(const std::vector<Series>& series) {
  MeasurementSet set;
  for (const Series& s : series) {
    const int length = static_cast<int>(s.values.size());
    set.series.push_back(SeriesInfo{"id", s.first_year, s.first_year + length - 1, length, 0});
    set.earliest_first_year = std::min(set.earliest_first_year, s.first_year);
    set.latest_last_year = std::max(set.latest_last_year, s.first_year + length - 1);
    set.longest_length = std::max(set.longest_length, length);
  }
  set.time_span = set.latest_last_year - set.earliest_first_year + 1;
  set.values.reset(set.count(), set.positions_needed(), kMissing);
  for (int j = 1; j <= set.count(); ++j) {
    SeriesInfo& info = set.info(j);
    info.start_position = info.first_year - set.earliest_first_year + 1;
    for (int t = 1; t <= info.length; ++t) {
      set.values(j, t) =
          series[static_cast<std::size_t>(j - 1)].values[static_cast<std::size_t>(t - 1)];
    }
  }
  return set;
}

struct PlotRun {
  Answer answer;
  Calls calls;
};

PlotRun run(const MeasurementSet& set, int kind, const std::string& input = "c\n",
            std::string_view title = "oak.rwl     ") {
  RecordedPlot plot(input);
  PlotRun r;
  r.answer = plotmeas(plot.context, set, kind, title);
  r.calls = plot.checked_calls();
  return r;
}

// The three series below, worked out by hand:
//   A 1901-1913: 13 values of 1.0
//   B 1905-1910: 2, 2, missing, 2, 2, 2
//   C 1908-1910: 0.5, 2.4, 0.5
// Years 1901-1913 give the year axis 1890-1920 (width 30: ticks 10 / 5). The largest value
// 2.4 gives the value top 3 (0.5 / 1). B's line joins across its missing 1907, which counts
// for no depth: depth by year 1,1,1,1,2,2,1,3,3,3,1,1,1 and by ring 3,3,2,2,2,2,1,...: both
// tops 4 (1 / 0). Every 11-year window by year holds all of B and C
// and 11 values of A: 24.4 / 19 = 1.28421. By ring: rings 1-11 give 24.4 / 19; rings 2-12
// leave out B's and C's first values, 21.9 / 17 = 1.28824.
std::vector<Series> three_series() {
  return {
      {1901, std::vector<float>(13, 1.0f)}, {1905, {2, 2, M, 2, 2, 2}}, {1908, {0.5f, 2.4f, 0.5f}}};
}

TEST(PlotmeasTest, WholePageOfASmallSet) {
  const MeasurementSet set = make_set(three_series());
  const PlotRun r = run(set, kPlotRaw);
  EXPECT_EQ(r.answer, Answer::kOk);
  const Calls expected =
      join({white_window_opening(),
            {
                // Upper panel, by calendar year.
                "plwind 1890 1920 0 3",
                "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.5 1",
                "pllab \"Year\" \"RRW(mm.)\" \"oak.rwl\"",
                "plmtex \"rv\" -66 1.15 0 \"Measurements\"",
                "plline 13 1901,1 1902,1 1903,1 1904,1 1905,1 1906,1 1907,1 1908,1 1909,1 1910,1 "
                "1911,1 1912,1 1913,1",
                "plline 5 1905,2 1906,2 1908,2 1909,2 1910,2",
                "plline 3 1908,0.5 1909,2.4 1910,0.5",
                "plcol0 9",
                "plline 2 1906,1.28421 1907,1.28421",
                "plmtex \"rv\" -66 1.06 0 \"11yr. Running Average\"",
                "plcol0 1",
                "plmtex \"rv\" -9 1.15 0 \"Sample depth\"",
                "plwind 1890 1920 0 4",
                "plaxes 1890 0 \"\" 10 5 \"cmstv\" 1 0",
                "plline 13 1901,1 1902,1 1903,1 1904,1 1905,2 1906,2 1907,1 1908,3 1909,3 1910,3 "
                "1911,1 1912,1 1913,1",
                // Lower panel, by ring number.
                "pladv 0",
                "plcol0 15",
                "plvpor 0.12 0.9 0.2 0.85",
                "plwind 0 23 0 3",
                "plaxes 0 0 \"abinst\" 10 5 \"abinstv\" 0.5 1",
                "pllab \"Year\" \"RRW(mm.)\" \"Age Aligned\"",
                "pllsty 1",
                "plwid 1",
                "plline 13 1,1 2,1 3,1 4,1 5,1 6,1 7,1 8,1 9,1 10,1 11,1 12,1 13,1",
                "plline 5 1,2 2,2 4,2 5,2 6,2",
                "plline 3 1,0.5 2,2.4 3,0.5",
                "plcol0 9",
                "plline 2 6,1.28421 7,1.28824",
                "plcol0 1",
                "plwind 0 23 0 4",
                "plaxes 0 0 \"\" 10 5 \"cmstv\" 1 0",
                "plline 13 1,3 2,3 3,2 4,2 5,2 6,2 7,1 8,1 9,1 10,1 11,1 12,1 13,1",
                "plend",
            }});
  // The depth lines (the last plline of each panel) carry the depths worked out above.
  EXPECT_EQ(r.calls, expected);
}

// The calls of `calls` that start with `prefix`.
Calls matching(const Calls& calls, const std::string& prefix) {
  Calls found;
  for (const std::string& call : calls) {
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  }
  return found;
}

// The plline right after each "plcol0 9": the running means, upper then lower panel.
Calls running_mean_lines(const Calls& calls) {
  Calls found;
  for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
    if (calls[i] == "plcol0 9") found.push_back(calls[i + 1]);
  }
  return found;
}

TEST(PlotmeasTest, LabelsAndFileByPlotKind) {
  const MeasurementSet set = make_set(three_series());
  struct Case {
    int kind;
    Calls labels;
    const char* file;
  };
  const Case cases[] = {
      {kPlotRaw,
       {"pllab \"Year\" \"RRW(mm.)\" \"oak.rwl\"", "pllab \"Year\" \"RRW(mm.)\" \"Age Aligned\""},
       "plsfnam \"KVR_fig1.ps\""},
      {kPlotTransformed,
       {"pllab \"Year\" \"PT Measurements\" \"oak.rwl\"",
        "pllab \"Year\" \"PT Measurements\" \"Age Aligned\""},
       "plsfnam \"KVR_fig1b.ps\""},
      {3, {}, "plsfnam \"KVR_fig1.ps\""},
  };
  for (const Case& c : cases) {
    const PlotRun r = run(set, c.kind, "s\nc\n");
    const Calls labels = matching(r.calls, "pllab");
    // The window pass and the three file passes (PostScript, PDF, PNG) draw the same labels.
    Calls four_times;
    for (int pass = 0; pass < 4; ++pass) {
      four_times.insert(four_times.end(), c.labels.begin(), c.labels.end());
    }
    EXPECT_EQ(labels, four_times) << c.kind;
    const Calls files = matching(r.calls, "plsfnam");
    ASSERT_EQ(files.size(), 3u) << c.kind;
    EXPECT_EQ(files[0], c.file) << c.kind;
  }
}

TEST(PlotmeasTest, ShortSpansHaveEmptyRunningMeans) {
  struct Case {
    std::vector<Series> series;
    Calls running_means;
  };
  const Case cases[] = {
      // 11 years: one window by year and by ring, but no centre inside the plotted range.
      {{{1901, std::vector<float>(11, 1.0f)}}, {"plline 0", "plline 0"}},
      // 12 years: one centre each.
      {{{1901, std::vector<float>(12, 1.0f)}}, {"plline 1 1906,1", "plline 1 6,1"}},
      // 5 years: no window at all.
      {{{1901, std::vector<float>(5, 1.0f)}}, {"plline 0", "plline 0"}},
      // A 12-year span by year, but the longest series has 6 values: (6 * 1 + 5 * 3) / 11.
      {{{1901, std::vector<float>(6, 1.0f)}, {1907, std::vector<float>(6, 3.0f)}},
       {"plline 1 1906,1.90909", "plline 0"}},
      // No valid value in the window: the missing value, drawn as it is.
      {{{1901, std::vector<float>(12, M)}}, {"plline 1 1906,-99.99", "plline 1 6,-99.99"}},
  };
  for (const Case& c : cases) {
    const PlotRun r = run(make_set(c.series), kPlotRaw);
    EXPECT_EQ(running_mean_lines(r.calls), c.running_means) << r.calls[9];
  }
}

TEST(PlotmeasTest, RangesFollowTheData) {
  struct Case {
    std::vector<Series> series;
    Calls windows;  // both plwind calls of the upper panel, then of the lower
    Calls axes;
  };
  std::vector<Series> ten(10, Series{1901, std::vector<float>(80, 0.4f)});
  ten[0].values.back() = 0.6f;  // last year 1980; the largest value 0.6 gives the top 2
  std::vector<Series> nine(ten.begin(), ten.begin() + 9);
  const Case cases[] = {
      // Depth 10 gives the top 11 (4 / 2); years 1901-1980 the axis 1890-1990 (10 / 5).
      {ten,
       {"plwind 1890 1990 0 2", "plwind 1890 1990 0 11", "plwind 0 90 0 2", "plwind 0 90 0 11"},
       {"plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.5 1", "plaxes 1890 0 \"\" 10 5 \"cmstv\" 4 2",
        "plaxes 0 0 \"abinst\" 10 5 \"abinstv\" 0.5 1", "plaxes 0 0 \"\" 10 5 \"cmstv\" 4 2"}},
      // Depth 9 gives the top 10 (1 / 0).
      {nine,
       {"plwind 1890 1990 0 2", "plwind 1890 1990 0 10", "plwind 0 90 0 2", "plwind 0 90 0 10"},
       {"plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.5 1", "plaxes 1890 0 \"\" 10 5 \"cmstv\" 1 0",
        "plaxes 0 0 \"abinst\" 10 5 \"abinstv\" 0.5 1", "plaxes 0 0 \"\" 10 5 \"cmstv\" 1 0"}},
      // Years -59 to -52, and no value above zero: the value top is still 1. Only the one
      // value counts for the depth.
      {{{-55, {M, -1.0f}}, {-59, std::vector<float>(8, M)}},
       {"plwind -60 -40 0 1", "plwind -60 -40 0 2", "plwind 0 18 0 1", "plwind 0 18 0 2"},
       {"plaxes -60 0 \"abinst\" 10 5 \"abinstv\" 0.2 1", "plaxes -60 0 \"\" 10 5 \"cmstv\" 1 0",
        "plaxes 0 0 \"abinst\" 10 5 \"abinstv\" 0.2 1", "plaxes 0 0 \"\" 10 5 \"cmstv\" 1 0"}},
      // Years 1901-1990 (width 110: 100 / 10), also on the ring panel; the largest value 2.6
      // gives the top 4 (1 / 1). One series per year, two at ring 1.
      {{{1901, {2.6f}}, {1990, {1.0f}}},
       {"plwind 1890 2000 0 4", "plwind 1890 2000 0 2", "plwind 0 11 0 4", "plwind 0 11 0 3"},
       {"plaxes 1890 0 \"abinst\" 100 10 \"abinstv\" 1 1",
        "plaxes 1890 0 \"\" 100 10 \"cmstv\" 1 0", "plaxes 0 0 \"abinst\" 100 10 \"abinstv\" 1 1",
        "plaxes 0 0 \"\" 100 10 \"cmstv\" 1 0"}},
      // Values above 100 leave the value ticks to PLplot.
      {{{1901, {150.0f}}},
       {"plwind 1890 1910 0 151", "plwind 1890 1910 0 2", "plwind 0 11 0 151", "plwind 0 11 0 2"},
       {"plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0 0", "plaxes 1890 0 \"\" 10 5 \"cmstv\" 1 0",
        "plaxes 0 0 \"abinst\" 10 5 \"abinstv\" 0 0", "plaxes 0 0 \"\" 10 5 \"cmstv\" 1 0"}},
  };
  for (const Case& c : cases) {
    const PlotRun r = run(make_set(c.series), kPlotRaw);
    EXPECT_EQ(matching(r.calls, "plwind"), c.windows) << c.windows[0];
    EXPECT_EQ(matching(r.calls, "plaxes"), c.axes) << c.windows[0];
  }
}

// The running means the straightforward way: each series placed at its calendar positions in
// a full matrix, and every window summed series by series over all of its 11 cells.
Calls reference_running_means(const MeasurementSet& set) {
  const int span = set.time_span;
  Grid<float> calendar(set.count(), span, kMissing);
  for (int j = 1; j <= set.count(); ++j) {
    for (int t = 1; t <= set.info(j).length; ++t) {
      calendar(j, set.info(j).start_position + t - 1) = set.values(j, t);
    }
  }
  auto mean = [&](const Grid<float>& grid, int positions, int first_x, int last_x) {
    std::vector<float> xs, ys;
    for (int w = 1; w <= positions - 10; ++w) {
      float sum = 0.0f;
      int count = 0;
      for (int j = 1; j <= grid.rows(); ++j) {
        for (int q = w; q <= w + 10; ++q) {
          if (q > grid.cols() || is_missing(grid(j, q))) continue;
          sum += grid(j, q);
          ++count;
        }
      }
      const int x = first_x + w - 1;
      if (x > last_x) break;
      xs.push_back(static_cast<float>(x));
      ys.push_back(count != 0 ? sum / static_cast<float>(count) : kMissing);
    }
    RecordingPlotter format;
    format.plline(static_cast<int>(xs.size()), xs.data(), ys.data());
    return format.calls()[0];
  };
  return {mean(calendar, span, set.earliest_first_year + 5, set.latest_last_year - 6),
          mean(set.values, set.longest_length, 6, set.longest_length - 6)};
}

TEST(PlotmeasTest, RunningMeansMatchTheFullMatrixSums) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> first(1700, 1760);
  std::uniform_int_distribution<int> length(1, 70);
  std::uniform_real_distribution<float> value(0.05f, 3.0f);
  std::bernoulli_distribution gap(0.1);
  for (int trial = 0; trial < 20; ++trial) {
    std::vector<Series> series(static_cast<std::size_t>(1 + trial % 7));
    for (Series& s : series) {
      s.first_year = first(random);
      s.values.resize(static_cast<std::size_t>(length(random)));
      for (float& v : s.values) v = gap(random) ? M : value(random);
    }
    const MeasurementSet set = make_set(series);
    const PlotRun r = run(set, kPlotRaw);
    EXPECT_EQ(running_mean_lines(r.calls), reference_running_means(set)) << "trial " << trial;
  }
}

TEST(PlotmeasTest, EverySavePassDrawsTheSamePage) {
  const PlotRun r = run(make_set(three_series()), kPlotRaw, "s\nb\ns\nc\n");
  // Split at plend: window, three file passes, dark window, three dark file passes.
  std::vector<Calls> passes(1);
  for (const std::string& call : r.calls) {
    passes.back().push_back(call);
    if (call == "plend") passes.emplace_back();
  }
  passes.pop_back();
  ASSERT_EQ(passes.size(), 8u);
  auto page = [](const Calls& pass) {
    const auto start = std::find(pass.begin(), pass.end(), "plssub 1 2");
    return Calls(start, pass.end());
  };
  for (const Calls& pass : passes) EXPECT_EQ(page(pass), page(passes[0]));
}

}  // namespace
}  // namespace kvr
