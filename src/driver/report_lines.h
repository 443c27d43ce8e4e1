#pragma once

#include <string>
#include <vector>

#include "statistics/rcs_comparison.h"
#include "statistics/series_report.h"

namespace kvr {

/// Flagged segments listed on screen at most; the rest are counted.
inline constexpr int kFlaggedSegmentsShown = 10;

/// The lines the run shows after the data summary, before the first plot question: the mean
/// interseries correlation and the other set figures, the flagged segments (series, years, r;
/// at most kFlaggedSegmentsShown, then how many more) and the files that hold everything.
[[nodiscard]] std::vector<std::string> series_report_lines(const SeriesReport& report);

/// The lines after the signal-strength block: the correlations of the rank and RCS chronologies
/// and of their residual versions, or why there is no RCS; a warning for a curve at or below
/// 0; the files.
[[nodiscard]] std::vector<std::string> rcs_lines(const RcsComparison& comparison);

}  // namespace kvr
