#pragma once

#include <vector>

#include "common/grid.h"

namespace kvr {

/// A single-precision chronology by calendar position y = 1..time span (element y - 1).
struct ResidualRankChronology {
  std::vector<float> robust_mean;  // kMissing where no residual stands
  std::vector<int> sample_depth;   // residuals that year
};

/// The residual rank chronology: each row 1..series_count of `by_year` (the standardized
/// series by calendar position 1..time_span, kMissing where a series has no value) prewhitened
/// in double precision (gaps closed; a row that cannot be prewhitened left out), each
/// residual stored in single precision at its position, then combined year by year exactly as
/// build_chronology combines the standardized values.
[[nodiscard]] ResidualRankChronology residual_rank_chronology(const Grid<float>& by_year,
                                                              int series_count, int time_span);

}  // namespace kvr
