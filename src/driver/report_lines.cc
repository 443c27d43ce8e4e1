#include "driver/report_lines.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "results/rcs_files.h"
#include "results/series_report_files.h"
#include "results/table_text.h"

namespace kvr {
namespace {

// Columns of a series id on screen.
constexpr std::size_t kIdWidth = 8;

std::optional<double> present(double v) {
  return std::isnan(v) ? std::nullopt : std::optional<double>(v);
}

std::string set_line(const SeriesReport& report) {
  const auto with_master =
      std::count_if(report.series.begin(), report.series.end(),
                    [](const SeriesFigures& s) { return !std::isnan(s.intercor); });
  const SetFigures& set = report.set;
  return "  mean interseries correlation " + fixed_or_na(present(set.mean_intercor), 4) + " over " +
         std::to_string(with_master) + " of " + std::to_string(set.series) +
         " series; mean sensitivity " + fixed_or_na(present(set.mean_sens1), 4) + ", mean AR1 " +
         fixed_or_na(present(set.mean_ar1), 4);
}

std::string segment_line(const SeriesReport& report, const SegmentFigures& s) {
  std::string id = comment_field(report.series[static_cast<std::size_t>(s.series)].id);
  if (id.size() < kIdWidth) id.resize(kIdWidth, ' ');
  return "  " + id + "  " + std::to_string(s.start) + " to " + std::to_string(s.end()) +
         "  r = " + fixed_or_na(present(s.r), 4);
}

// Columns of the label of a correlation line, its colon included.
constexpr std::size_t kLabelWidth = 32;

std::string correlation_line(const std::string& what, const ChronologyCorrelation& c) {
  std::string label = what + ":";
  if (label.size() < kLabelWidth) label.resize(kLabelWidth, ' ');
  return "  " + label + "r = " + fixed_or_na(c.r, 4) + " over " + std::to_string(c.years) +
         " years";
}

}  // namespace

std::vector<std::string> series_report_lines(const SeriesReport& report) {
  std::vector<std::string> lines = {
      "",
      " Series report (each series prewhitened, against the biweight mean of the others):",
      set_line(report),
      "  segments of " + std::to_string(kSegmentLength) + " years lagged " +
          std::to_string(kSegmentLag) + ": " + std::to_string(report.set.segments) +
          ", flagged (p >= " + fixed_or_na(kSegmentFlagP, 2) +
          "): " + std::to_string(report.set.flagged),
  };
  int shown = 0;
  for (const SegmentFigures& s : report.segments) {
    if (!s.flagged()) continue;
    if (shown == kFlaggedSegmentsShown) {
      lines.push_back("  ... and " + std::to_string(report.set.flagged - shown) + " more");
      break;
    }
    lines.push_back(segment_line(report, s));
    ++shown;
  }
  lines.push_back(std::string("  (every figure in ") + kSeriesReportFile + " and " + kSegmentsFile +
                  ")");
  return lines;
}

std::vector<std::string> rcs_lines(const RcsComparison& comparison) {
  const RegionalCurve& curve = comparison.curve;
  if (!curve.usable()) {
    return {"", " RCS comparison: no regional curve, " + no_rcs_reason(curve),
            std::string("  (") + kCurveFile + " and " + kRcsFile + " hold no RCS values)"};
  }
  std::vector<std::string> lines = {
      "",
      " RCS comparison (regional curve: spline of stiffness " + std::to_string(curve.stiffness) +
          " years over the biweight mean by age):",
      correlation_line("rank vs RCS chronology", comparison.rank_vs_rcs),
      correlation_line("residual rank vs residual RCS", comparison.residuals),
  };
  if (curve.nonpositive_ages > 0) {
    lines.push_back("  warning: the regional curve is at or below 0 at " +
                    std::to_string(curve.nonpositive_ages) + " ages; their values have no index");
  }
  lines.push_back(std::string("  (in ") + kCurveFile + " and " + kRcsFile + ")");
  return lines;
}

}  // namespace kvr
