#pragma once

#include <vector>

#include "common/grid.h"
#include "statistics/signal_windows.h"

namespace kvr {

/// The correlations that entered one stretch of years: their sum, their number, and the
/// series that took part in at least one of them (members[i] is 1 for series i, 1..rows).
struct CorrelationTally {
  double sum = 0.0;
  int pairs = 0;
  std::vector<char> members;
};

/// The tallies of the whole chronology and of each running window k (positions 25 k + 1 to
/// 25 k + 50).
struct PairCorrelations {
  CorrelationTally whole;
  std::vector<CorrelationTally> windows;
};

/// The Pearson correlations of every pair of rows 1..rows of `by_year` (positions
/// 1..years, kMissing where a series has no value) that share at least
/// kSignalMinCommonYears years, over all positions and over each of `window_count` windows,
/// in double precision with each series taken about its own mean. A pair where a series is
/// constant over the stretch is left out. Each pair's sums add their terms in one fixed order,
/// and the correlations are summed in one fixed order whatever the threads do, so the tallies
/// are identical from run to run.
PairCorrelations pair_correlations(const Grid<float>& by_year, int rows, int years,
                                   int window_count);

}  // namespace kvr
