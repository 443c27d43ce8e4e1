#pragma once

#include <optional>
#include <vector>

#include "common/grid.h"
#include "standardize/chronology.h"
#include "statistics/rcs_chronology.h"
#include "statistics/regional_curve.h"
#include "statistics/residual_rank_chronology.h"

namespace kvr {

/// Chronologies enter a comparison in the years where both have a value from at least this
/// many series.
inline constexpr int kCompareMinDepth = 2;

/// Pearson's r of two chronologies over `years` common years; empty for fewer than 3 years or
/// a constant side.
struct ChronologyCorrelation {
  std::optional<double> r;
  int years = 0;
};

/// The rank chronology of a run beside the RCS chronology of its measurements.
struct RcsComparison {
  RegionalCurve curve;
  RcsChronology rcs;
  YearChronology rank;           // the run's chronology in double precision (NaN: missing)
  YearChronology rank_residual;  // the residual rank chronology, likewise
  ChronologyCorrelation rank_vs_rcs;
  ChronologyCorrelation residuals;  // residual rank vs residual RCS
};

/// r of a and b over the years both have a value with a depth of at least kCompareMinDepth.
[[nodiscard]] ChronologyCorrelation correlate_chronologies(const YearChronology& a,
                                                           const YearChronology& b);

/// The whole comparison for a run: `curve` and `rcs` are the regional curve of the measurements
/// as the file gives them (before any power transformation) and the RCS chronology built on it
/// (computed while the run still holds the measurements), `standardized` rows 1..series_count
/// the run's standardized series by calendar position 1..time_span (position 1 is
/// `first_year`), and `rank` the chronology built from them.
[[nodiscard]] RcsComparison compare_with_rcs(RegionalCurve curve, RcsChronology rcs,
                                             const Grid<float>& standardized, int series_count,
                                             int time_span, int first_year, const Chronology& rank);

}  // namespace kvr
