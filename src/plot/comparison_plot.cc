#include "plot/comparison_plot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "common/fixed_format.h"
#include "plot/axis_ticks.h"
#include "results/output_files.h"
#include "results/rcs_files.h"
#include "results/table_text.h"

namespace kvr {
namespace {

// The points of one line; a missing value is left out, so the line joins across it.
struct Points {
  std::vector<float> x;
  std::vector<float> y;

  void add(double px, double py) {
    if (!std::isfinite(py)) return;
    x.push_back(static_cast<float>(px));
    y.push_back(static_cast<float>(py));
  }
  [[nodiscard]] float highest() const {
    return y.empty() ? 0.0f : *std::max_element(y.begin(), y.end());
  }
  void draw(Plotter& plotter) const {
    if (!x.empty()) plotter.plline(static_cast<int>(x.size()), x.data(), y.data());
  }
};

// One line of a panel and its legend (none when empty).
struct Curve {
  std::string legend;
  double width = 1.0;
  Points points;
};

// One panel: two lines on the left-hand axis, the first in the foreground colour and the
// second in blue, and a count in red on the right-hand axis.
struct Panel {
  YearAxis x;
  AxisTicks x_ticks;
  int top = 0;
  AxisTicks y_ticks;
  std::string x_label;
  std::string y_label;
  std::string title;
  Curve first;
  Curve second;
  Curve count;
  float count_top = 0.0f;
  AxisTicks count_ticks;
};

// A chronology divided by the mean of its values; no points when that mean is not positive.
Points divided_by_mean(const YearChronology& c) {
  double sum = 0.0;
  int count = 0;
  for (double v : c.values) {
    if (std::isnan(v)) continue;
    sum += v;
    ++count;
  }
  Points points;
  if (count == 0 || !(sum > 0.0)) return points;
  const double mean = sum / count;
  for (int i = 0; i < c.years(); ++i) {
    points.add(c.first_year + i, c.values[static_cast<std::size_t>(i)] / mean);
  }
  return points;
}

// The axes of a panel from its points: the value axis over both lines, the count axis one
// above the largest count.
void set_value_axes(Panel* panel) {
  panel->top = value_top(std::max(panel->first.points.highest(), panel->second.points.highest()));
  panel->y_ticks = value_ticks(panel->top);
  panel->count_top = panel->count.points.highest() + 1.0f;
  panel->count_ticks = depth_ticks(panel->count_top);
}

// By age: the mean by age, the regional curve and the series by age.
Panel curve_panel(const RegionalCurve& curve, std::string_view title) {
  Panel panel;
  panel.first.legend = "Mean by age";
  panel.second.legend =
      curve.usable() ? "Regional curve, stiffness " + std::to_string(curve.stiffness) + " years"
                     : "No regional curve: " + no_rcs_reason(curve);
  panel.second.width = 2.0;
  panel.count.legend = "Series by age";
  for (int a = 1; a <= curve.ages(); ++a) {
    const auto k = static_cast<std::size_t>(a - 1);
    panel.first.points.add(a, curve.mean_by_age[k]);
    if (curve.usable()) panel.second.points.add(a, curve.curve[k]);
    panel.count.points.add(a, curve.series_by_age[k]);
  }
  panel.x = YearAxis{0, (curve.ages() / 10 + 1) * 10};
  panel.x_ticks = year_ticks(panel.x.width());
  set_value_axes(&panel);
  panel.x_label = "Age (years)";
  panel.y_label = "RRW(mm.)";
  panel.title = trim_right(title);
  return panel;
}

// By year: the rank and RCS chronologies divided by their means, and the sample depth.
Panel chronology_panel(const RcsComparison& comparison) {
  Panel panel;
  const YearChronology& rank = comparison.rank;
  const YearChronology& rcs = comparison.rcs.indices;
  panel.first = {"Rank chronology", 2.0, divided_by_mean(rank)};
  if (comparison.curve.usable()) panel.second.points = divided_by_mean(rcs);
  if (!panel.second.points.x.empty()) panel.second.legend = "RCS chronology";
  panel.count.legend = "Sample Depth";
  for (int i = 0; i < rank.years(); ++i) {
    panel.count.points.add(rank.first_year + i, rank.depth[static_cast<std::size_t>(i)]);
  }
  const int first_year =
      rcs.years() > 0 ? std::min(rank.first_year, rcs.first_year) : rank.first_year;
  const int last_year = std::max(rank.first_year + rank.years(), rcs.first_year + rcs.years()) - 1;
  panel.x = year_axis(first_year, std::max(first_year, last_year));
  panel.x_ticks = year_ticks(panel.x.width());
  set_value_axes(&panel);
  panel.x_label = "Year";
  panel.y_label = "Index / its mean";
  panel.title = "Rank vs RCS chronology: r = " + fixed_or_na(comparison.rank_vs_rcs.r, 4) +
                " over " + std::to_string(comparison.rank_vs_rcs.years) + " years";
  return panel;
}

// A line in `colour` with its legend above the panel at `legend_pos` (1.15: the first row).
void draw_curve(Plotter& plotter, const Curve& curve, int colour, double legend_pos) {
  plotter.plcol0(colour);
  if (!curve.legend.empty()) plotter.plmtex("rv", -66.0, legend_pos, 0.0, curve.legend);
  plotter.plwid(curve.width);
  curve.points.draw(plotter);
}

void draw_panel(Plotter& plotter, const Panel& panel) {
  const double x_lo = panel.x.lo;
  const double x_hi = panel.x.hi;
  plotter.pladv(0);
  plotter.plcol0(15);
  plotter.plvpor(0.12, 0.9, 0.2, 0.85);
  plotter.plwind(x_lo, x_hi, 0.0, panel.top);
  plotter.plaxes(x_lo, 0.0, "abinst", panel.x_ticks.interval, panel.x_ticks.subdivisions, "abinstv",
                 panel.y_ticks.interval, panel.y_ticks.subdivisions);
  plotter.pllab(panel.x_label, panel.y_label, panel.title);
  draw_curve(plotter, panel.first, 15, 1.15);
  draw_curve(plotter, panel.second, 9, 1.06);
  plotter.plwid(1);
  plotter.plcol0(1);
  plotter.plmtex("rv", -10.0, 1.15, 0.0, panel.count.legend);
  plotter.plwind(x_lo, x_hi, 0.0, static_cast<double>(panel.count_top));
  plotter.plaxes(x_lo, 0.0, "", panel.x_ticks.interval, panel.x_ticks.subdivisions, "cmstv",
                 panel.count_ticks.interval, panel.count_ticks.subdivisions);
  panel.count.points.draw(plotter);
}

}  // namespace

SavedPage comparison_page(const RcsComparison& comparison, std::string_view title) {
  return {kComparisonFile, [upper = curve_panel(comparison.curve, title),
                            lower = chronology_panel(comparison)](Plotter& plotter) {
            draw_panel(plotter, upper);
            draw_panel(plotter, lower);
          }};
}

}  // namespace kvr
