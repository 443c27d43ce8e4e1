#pragma once

#include <span>
#include <vector>

#include "common/grid.h"

namespace kvr {

/// The chronology by year index y = 1..time span (element y - 1 of each vector).
struct Chronology {
  std::vector<int> sample_depth;
  std::vector<float> robust_mean;     // "RobM"; kMissing when no series has a value
  std::vector<float> standard_error;  // kMissing when fewer than 4 series have a value
  float average = 0.0f;               // "Ave"; kMissing when no year has a value

  int years() const { return static_cast<int>(robust_mean.size()); }
  /// "+2(se)" and "-2(se)" of year index y, or kMissing without a standard error.
  float upper_band(int y) const;
  float lower_band(int y) const;
};

/// The median of a sample, its hinges (the medians of its lower and upper half) and their
/// spread, its minimum and its maximum.
struct Hinges {
  float median = 0.0f;
  float lower_hinge = 0.0f, upper_hinge = 0.0f, hinge_spread = 0.0f;
  float minimum = 0.0f, maximum = 0.0f;
};

/// Sorts x ascending and returns its hinges; all 0 for an empty x.
Hinges hinges(std::span<float> x);

/// Robust location, scale and standard error of the sample x (left sorted ascending, in the
/// order the quicksort gives, -0.0 and +0.0 included); d is scratch of at least the same length.
/// `control` goes in as 2 and comes back 0 (empty sample, no output written), 1 (1 to 3 values: the
/// mean) or 2.
void robmean(std::span<float> x, std::span<float> d, int* control, float* location, float* scale,
             float* standard_error);

/// The year-by-year chronology of rows 1..series_count of `by_year` (calendar positions
/// 1..time_span).
Chronology build_chronology(const Grid<float>& by_year, int series_count, int time_span);

}  // namespace kvr
