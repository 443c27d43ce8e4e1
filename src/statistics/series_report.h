#pragma once

#include <span>
#include <vector>

#include "measurements/measured_series.h"
#include "statistics/series_figures.h"

namespace kvr {

/// Segments of the crossdating check: this many years, one starting every kSegmentLag years,
/// the first at a multiple of kSegmentOrigin.
inline constexpr int kSegmentLength = 50;
inline constexpr int kSegmentLag = 25;
inline constexpr int kSegmentOrigin = 100;
/// A segment whose one-sided p-value is at least this is flagged.
inline constexpr double kSegmentFlagP = 0.05;

/// One segment of one series: its correlation with the series' master over the segment.
struct SegmentFigures {
  int series = 0;            // index in the set, from 0
  int start = 0;             // first year
  double r = kNotAvailable;  // NaN (and p too) when a side is constant over the segment
  double p = kNotAvailable;

  [[nodiscard]] int end() const { return start + kSegmentLength - 1; }
  /// p >= kSegmentFlagP (a segment without p is not flagged).
  [[nodiscard]] bool flagged() const { return p >= kSegmentFlagP; }
};

/// The figures of the whole set. The means are over the series that have the figure (NaN
/// when none has).
struct SetFigures {
  int series = 0;
  double mean_intercor = kNotAvailable;
  double mean_sens1 = kNotAvailable;
  double mean_ar1 = kNotAvailable;
  int segments = 0;
  int flagged = 0;
};

struct SeriesReport {
  std::vector<SeriesFigures> series;     // in set order
  std::vector<SegmentFigures> segments;  // by series, then by start
  SetFigures set;
};

/// The series report of a set: each series' figures; its interseries correlation, Pearson's r
/// of the series (divided by its mean, then prewhitened) with its master, the year-by-year
/// tbrm of the other series so prewhitened, with the one-sided p-value; and its segments of
/// kSegmentLength years lagged kSegmentLag (the first starting at the first multiple of
/// kSegmentOrigin at or after the set's first year, the last ending by its last year) in which
/// the series and its master have a value in every year. Series of fewer than kArMinValues
/// values, of mean 0 or constant take part in no master and have neither correlation nor
/// segments.
[[nodiscard]] SeriesReport series_report(std::span<const MeasuredSeries> set);

}  // namespace kvr
