#include "plot/plotmeas.h"

#include <algorithm>
#include <string>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "plot/axis_ticks.h"
#include "plot/plot_loop.h"
#include "results/output_files.h"

namespace kvr {
namespace {

// The sample depth: calendar[p - 1] = series with a value at calendar position p, age[t - 1] =
// series with a t-th value; kMaxPositions entries each.
struct SampleDepth {
  std::vector<int> calendar;
  std::vector<int> age;
};

constexpr int kWindow = 11;  // years of the running mean
constexpr int kHalf = 5;     // centre of a window = its start + kHalf

// Everything the page draws that is derived from the set.
struct MeasurementPage : YearPanelAxes {
  float year_lo = 9999.0f;
  float year_hi = -9999.0f;
  float age_hi = -9999.0f;
  int depth_cal_hi = 0;
  int depth_age_hi = 0;
  float value_hi = 0.0f;
  // Running means by centre k, element k - 1.
  std::vector<float> running_age;
  std::vector<float> running_cal;

  float depth_age_top = 0.0f;
  AxisTicks depth_age_ticks;
};

// Fills the sample depths and the ranges. Every value of a series counts for the depth,
// whatever it holds; a missing cell inside the series does not. The ranges are the series'
// spans.
void scan_series(const MeasurementSet& set, SampleDepth* depth, MeasurementPage* page) {
  depth->calendar.assign(kMaxPositions, 0);
  depth->age.assign(kMaxPositions, 0);
  for (int j = 1; j <= set.count(); ++j) {
    const SeriesInfo& s = set.info(j);
    const int length = std::min(s.length, set.values.cols());
    for (int t = 1; t <= length; ++t) {
      const float v = set.values(j, t);
      if (is_missing(v)) continue;
      if (v > page->value_hi) page->value_hi = v;
      const int p = s.start_position + t - 1;
      if (p >= 1 && p <= kMaxPositions) {
        int& d = depth->calendar[static_cast<std::size_t>(p - 1)];
        ++d;
        page->depth_cal_hi = std::max(page->depth_cal_hi, d);
      }
      if (t <= kMaxPositions) {
        int& d = depth->age[static_cast<std::size_t>(t - 1)];
        ++d;
        page->depth_age_hi = std::max(page->depth_age_hi, d);
      }
    }
    page->year_lo = std::min(page->year_lo, static_cast<float>(s.first_year));
    page->year_hi = std::max(page->year_hi, static_cast<float>(s.last_year));
    page->age_hi = std::max(page->age_hi, static_cast<float>(s.length));
  }
}

// The 11-year running mean for the centres k = 6 .. positions - 5, pooled over every valid
// value of every series in the window. Series j holds its t-th value at position
// offset(j) + t. The sums run series by series and position by position, in single
// precision; positions where a series has no value add nothing.
template <typename Offset>
std::vector<float> running_mean(const MeasurementSet& set, int positions, Offset offset) {
  std::vector<float> mean(static_cast<std::size_t>(std::max(positions, 0)), kMissing);
  for (int w = 1; w <= positions - (kWindow - 1); ++w) {
    float sum = 0.0f;
    int count = 0;
    for (int j = 1; j <= set.count(); ++j) {
      const int shift = offset(j);
      const int length = std::min(set.info(j).length, set.values.cols());
      const int first = std::max(w, shift + 1);
      const int last = std::min(w + kWindow - 1, shift + length);
      for (int q = first; q <= last; ++q) {
        const float v = set.values(j, q - shift);
        if (is_missing(v)) continue;
        sum += v;
        ++count;
      }
    }
    if (count != 0) {
      mean[static_cast<std::size_t>(w + kHalf - 1)] = sum / static_cast<float>(count);
    }
  }
  return mean;
}

MeasurementPage measurement_page(const MeasurementSet& set, SampleDepth* depth) {
  MeasurementPage page;
  scan_series(set, depth, &page);
  page.running_age = running_mean(set, static_cast<int>(page.age_hi), [](int) { return 0; });
  const int span = static_cast<int>(page.year_hi - page.year_lo) + 1;
  page.running_cal = running_mean(set, span, [&](int j) { return set.info(j).start_position - 1; });

  static_cast<YearPanelAxes&>(page) =
      year_panel_axes(static_cast<int>(page.year_lo), static_cast<int>(page.year_hi), page.value_hi,
                      static_cast<float>(page.depth_cal_hi + 1));
  page.depth_age_top = static_cast<float>(page.depth_age_hi + 1);
  page.depth_age_ticks = depth_ticks(page.depth_age_top);
  return page;
}

// The point buffers of one plline, sized to the data.
struct Line {
  std::vector<float> x;
  std::vector<float> y;

  void clear() {
    x.clear();
    y.clear();
  }
  void add(float px, float py) {
    x.push_back(px);
    y.push_back(py);
  }
  // A point of a series' line: a missing value is left out, so the line joins across it.
  void add_value(float px, float py) {
    if (!is_missing(py)) add(px, py);
  }
  void draw(Plotter& plotter) const {
    plotter.plline(static_cast<int>(x.size()), x.data(), y.data());
  }
};

// The running mean from centre 6 on, at first_x, first_x + 1, ..., last_x (no points when
// last_x < first_x).
void running_mean_line(const std::vector<float>& mean, int first_x, int last_x, Line* line) {
  line->clear();
  std::size_t k = kHalf;  // element of centre 6
  for (int x = first_x; x <= last_x && k < mean.size(); ++x, ++k) {
    line->add(static_cast<float>(x), mean[k]);
  }
}

void label(Plotter& plotter, int plot_kind, const std::string& title) {
  if (plot_kind == kPlotRaw) plotter.pllab("Year", "RRW(mm.)", title);
  if (plot_kind == kPlotTransformed) plotter.pllab("Year", "PT Measurements", title);
}

void draw_calendar_panel(Plotter& plotter, const MeasurementSet& set, const SampleDepth& depth,
                         const MeasurementPage& page, int plot_kind, const std::string& title,
                         Line* line) {
  const double x_lo = page.x.lo;
  const double x_hi = page.x.hi;
  plotter.pladv(0);
  plotter.plvpor(0.12, 0.9, 0.2, 0.85);
  plotter.plwind(x_lo, x_hi, 0.0, page.y_top);
  plotter.plaxes(x_lo, 0.0, "abinst", page.x_ticks.interval, page.x_ticks.subdivisions, "abinstv",
                 page.y_ticks.interval, page.y_ticks.subdivisions);
  label(plotter, plot_kind, title);
  plotter.plmtex("rv", -66.0, 1.15, 0.0, "Measurements");
  for (int j = 1; j <= set.count(); ++j) {
    const SeriesInfo& s = set.info(j);
    line->clear();
    const int length = std::min(s.length, set.values.cols());
    for (int t = 1; t <= length; ++t) {
      line->add_value(static_cast<float>(s.first_year + t - 1), set.values(j, t));
    }
    line->draw(plotter);
  }
  plotter.plcol0(9);
  running_mean_line(page.running_cal, static_cast<int>(page.year_lo + 5.0f),
                    static_cast<int>(page.year_hi - 6.0f), line);
  line->draw(plotter);
  plotter.plmtex("rv", -66.0, 1.06, 0.0, "11yr. Running Average");
  plotter.plcol0(1);
  plotter.plmtex("rv", -9.0, 1.15, 0.0, "Sample depth");
  plotter.plwind(x_lo, x_hi, 0.0, page.depth_top);
  plotter.plaxes(x_lo, 0.0, "", page.x_ticks.interval, page.x_ticks.subdivisions, "cmstv",
                 page.depth_ticks.interval, page.depth_ticks.subdivisions);
  line->clear();
  std::size_t p = 0;
  for (int year = static_cast<int>(page.year_lo);
       year <= static_cast<int>(page.year_hi) && p < depth.calendar.size(); ++year, ++p) {
    line->add(static_cast<float>(year), static_cast<float>(depth.calendar[p]));
  }
  line->draw(plotter);
}

void draw_age_panel(Plotter& plotter, const MeasurementSet& set, const SampleDepth& depth,
                    const MeasurementPage& page, int plot_kind, Line* line) {
  const double x_hi = static_cast<double>(page.age_hi + 10.0f);
  plotter.pladv(0);
  plotter.plcol0(15);
  plotter.plvpor(0.12, 0.9, 0.2, 0.85);
  plotter.plwind(0.0, x_hi, 0.0, page.y_top);
  plotter.plaxes(0.0, 0.0, "abinst", page.x_ticks.interval, page.x_ticks.subdivisions, "abinstv",
                 page.y_ticks.interval, page.y_ticks.subdivisions);
  label(plotter, plot_kind, "Age Aligned");
  plotter.pllsty(1);
  plotter.plwid(1);
  for (int j = 1; j <= set.count(); ++j) {
    line->clear();
    const int length = std::min(set.info(j).length, set.values.cols());
    for (int t = 1; t <= length; ++t) line->add_value(static_cast<float>(t), set.values(j, t));
    line->draw(plotter);
  }
  plotter.plcol0(9);
  running_mean_line(page.running_age, 6, static_cast<int>(page.age_hi - 6.0f), line);
  line->draw(plotter);
  plotter.plcol0(1);
  plotter.plwind(0.0, x_hi, 0.0, page.depth_age_top);
  plotter.plaxes(0.0, 0.0, "", page.x_ticks.interval, page.x_ticks.subdivisions, "cmstv",
                 page.depth_age_ticks.interval, page.depth_age_ticks.subdivisions);
  line->clear();
  const int ages = std::min(static_cast<int>(page.age_hi), static_cast<int>(depth.age.size()));
  for (int t = 1; t <= ages; ++t) {
    line->add(static_cast<float>(t),
              static_cast<float>(depth.age[static_cast<std::size_t>(t - 1)]));
  }
  line->draw(plotter);
}

}  // namespace

Answer plotmeas(PlotContext& context, const MeasurementSet& set, int plot_kind,
                std::string_view title) {
  // The page is the same in every pass, so its data are worked out once.
  SampleDepth depth;
  const MeasurementPage page = measurement_page(set, &depth);
  const std::string plot_title = trim_right(title);
  Line line;
  const std::string file_name =
      plot_kind == kPlotTransformed ? kTransformedMeasurementsFile : kRawMeasurementsFile;
  return run_plot_loop(context, file_name, [&](Plotter& plotter) {
    draw_calendar_panel(plotter, set, depth, page, plot_kind, plot_title, &line);
    draw_age_panel(plotter, set, depth, page, plot_kind, &line);
  });
}

}  // namespace kvr
