#include "plot/chronology_plot.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "plot/axis_ticks.h"
#include "plot/plot_loop.h"
#include "plot/plotmeas.h"
#include "results/output_files.h"

namespace kvr {
namespace {

float at(std::span<const float> column, int p) {
  return p >= 1 && static_cast<std::size_t>(p) <= column.size()
             ? column[static_cast<std::size_t>(p - 1)]
             : kMissing;
}

int at(std::span<const int> column, int p) {
  return p >= 1 && static_cast<std::size_t>(p) <= column.size()
             ? column[static_cast<std::size_t>(p - 1)]
             : 0;
}

// Ranges, ticks and point lists of the page; the same in every pass.
struct ChronologyPage : YearPanelAxes {
  float band_top = 0.0f;
  AxisTicks band_ticks;

  // One line per standardized series: its non-missing values by year.
  std::vector<std::vector<float>> series_x;
  std::vector<std::vector<float>> series_y;
  // The years with a chronology value of 0 or more.
  std::vector<float> years;
  std::vector<float> robust_mean;
  std::vector<float> average;
  std::vector<float> depth;
  // The years with a band.
  std::vector<float> band_years;
  std::vector<float> upper;
  std::vector<float> lower;
};

ChronologyPage chronology_page(const MeasurementSet& set, const Grid<float>& by_year,
                               const ChronologyColumns& chronology) {
  ChronologyPage page;
  const int first_year = set.earliest_first_year;
  const int last_year = set.latest_last_year;
  const int positions = last_year - first_year + 1;
  const int series = std::min(set.count(), by_year.rows());

  float value_hi = kMissing;
  float band_hi = kMissing;
  float depth_hi = kMissing;
  float chronology_hi = kMissing;
  for (int p = 1; p <= positions; ++p) {
    if (p <= by_year.cols()) {
      for (int j = 1; j <= series; ++j) {
        const float z = by_year(j, p);
        if (!is_missing(z) && z > value_hi) value_hi = z;
      }
    }
    const float u = at(chronology.upper_band, p);
    if (!is_missing(u) && u > band_hi) band_hi = u;
    const float d = static_cast<float>(at(chronology.sample_depth, p));
    if (d > depth_hi) depth_hi = d;
    const float r = at(chronology.robust_mean, p);
    if (r >= 0.0f && r > chronology_hi) chronology_hi = r;
  }
  // Without a single band year (no year with four or more series) the panel top would be
  // negative and the chronology would fall outside it; it is then taken from the chronology,
  // or from 0 when there is none.
  if (is_missing(band_hi)) band_hi = is_missing(chronology_hi) ? 0.0f : chronology_hi;

  static_cast<YearPanelAxes&>(page) =
      year_panel_axes(first_year, last_year, value_hi, depth_hi + 1.0f);
  page.band_top = band_hi + 0.25f;
  page.band_ticks = band_ticks(page.band_top, page.y_ticks);

  for (int j = 1; j <= series; ++j) {
    const SeriesInfo& s = set.info(j);
    std::vector<float>& xs = page.series_x.emplace_back();
    std::vector<float>& ys = page.series_y.emplace_back();
    const int last = std::min(s.start_position + s.length - 1, by_year.cols());
    for (int p = std::max(s.start_position, 1); p <= last; ++p) {
      const float z = by_year(j, p);
      if (is_missing(z)) continue;
      xs.push_back(static_cast<float>(first_year + p - 1));
      ys.push_back(z);
    }
  }

  for (int y = first_year; y <= last_year; ++y) {
    const int p = y - first_year + 1;
    const float r = at(chronology.robust_mean, p);
    if (r >= 0.0f) {
      page.years.push_back(static_cast<float>(y));
      page.robust_mean.push_back(r);
      page.average.push_back(chronology.average);
      page.depth.push_back(static_cast<float>(at(chronology.sample_depth, p)));
    }
    const float w = at(chronology.lower_band, p);
    if (!is_missing(w)) {
      page.band_years.push_back(static_cast<float>(y));
      page.upper.push_back(at(chronology.upper_band, p));
      page.lower.push_back(w);
    }
  }
  return page;
}

void line(Plotter& plotter, const std::vector<float>& x, const std::vector<float>& y) {
  plotter.plline(static_cast<int>(x.size()), x.data(), y.data());
}

void label(Plotter& plotter, int plot_kind, const std::string& title) {
  if (plot_kind == kPlotRaw) plotter.pllab("Year", "RRW(mm.)", title);
  if (plot_kind == kPlotTransformed) plotter.pllab("Year", "PT Measurements", title);
}

void draw_series_panel(Plotter& plotter, const ChronologyPage& page, int plot_kind,
                       const std::string& title) {
  const double x_lo = page.x.lo;
  plotter.pladv(0);
  plotter.plvpor(0.12, 0.9, 0.2, 0.85);
  plotter.plwind(x_lo, page.x.hi, 0.0, page.y_top);
  plotter.plaxes(x_lo, 0.0, "abinst", page.x_ticks.interval, page.x_ticks.subdivisions, "abinstv",
                 page.y_ticks.interval, page.y_ticks.subdivisions);
  label(plotter, plot_kind, title);
  plotter.plmtex("rv", -66.0, 1.15, 0.0, "KVR Measurements");
  for (std::size_t j = 0; j < page.series_x.size(); ++j) {
    line(plotter, page.series_x[j], page.series_y[j]);
  }
}

void draw_chronology_panel(Plotter& plotter, const ChronologyPage& page, int plot_kind) {
  const double x_lo = page.x.lo;
  const double x_hi = page.x.hi;
  plotter.pladv(0);
  plotter.plcol0(15);
  plotter.plvpor(0.12, 0.9, 0.2, 0.85);
  plotter.plwind(x_lo, x_hi, 0.0, static_cast<double>(page.band_top));
  plotter.plaxes(x_lo, 0.0, "abinst", page.x_ticks.interval, page.x_ticks.subdivisions, "abinstv",
                 page.band_ticks.interval, page.band_ticks.subdivisions);
  label(plotter, plot_kind, "Chronology");
  plotter.pllsty(1);
  plotter.plwid(1);
  const int dash = 1500;  // micrometres of mark and of space
  plotter.plstyl(1, &dash, &dash);
  plotter.plcol0(9);
  line(plotter, page.band_years, page.upper);
  line(plotter, page.band_years, page.lower);
  plotter.plstyl(0, nullptr, nullptr);
  plotter.plcol0(15);
  plotter.plwid(2);
  line(plotter, page.years, page.average);
  line(plotter, page.years, page.robust_mean);
  plotter.plwid(1);
  plotter.plcol0(1);
  plotter.plwind(x_lo, x_hi, 0.0, static_cast<double>(page.depth_top));
  plotter.plaxes(x_lo, 0.0, "", page.x_ticks.interval, page.x_ticks.subdivisions, "cmstv",
                 page.depth_ticks.interval, page.depth_ticks.subdivisions);
  plotter.plmtex("rv", -10.0, 1.15, 0.0, "Sample Depth");
  line(plotter, page.years, page.depth);
}

}  // namespace

Answer plot_chronology(PlotContext& context, const MeasurementSet& set, const Grid<float>& by_year,
                       std::string_view title, int plot_kind, const ChronologyColumns& chronology,
                       std::span<const SavedPage> saved_with) {
  const ChronologyPage page = chronology_page(set, by_year, chronology);
  const std::string plot_title = trim_right(title);
  return run_plot_loop(
      context, kChronologyFile,
      [&](Plotter& plotter) {
        draw_series_panel(plotter, page, plot_kind, plot_title);
        draw_chronology_panel(plotter, page, plot_kind);
      },
      saved_with);
}

}  // namespace kvr
