#pragma once

#include <string>
#include <vector>

#include "common/grid.h"

namespace kvr {

/// One series of the measurement set. `id` is blank padded to 8 characters, the width of a
/// decade record's id; a longer id (a column of a table) is whole.
struct SeriesInfo {
  std::string id;
  int first_year = 0;
  int last_year = 0;       // first_year + length - 1
  int length = 0;          // number of values
  int start_position = 0;  // first_year - earliest first year + 1
};

/// The series read from the input file. series[j - 1] describes series j; values(j, i) is the
/// i-th value of series j counted from its own first ring (age aligned) or, after the calendar
/// shift, the value of year earliest_first_year + i - 1. Cells without a value hold kMissing.
///
/// The value grid has one row per series and as many columns as the run needs
/// (positions_needed()), never more than kMaxPositions.
struct MeasurementSet {
  std::vector<SeriesInfo> series;
  Grid<float> values;
  int earliest_first_year = 99999;
  int latest_last_year = -99999;
  int longest_length = -99999;
  int time_span = 0;  // latest_last_year - earliest_first_year + 1

  int count() const { return static_cast<int>(series.size()); }
  const SeriesInfo& info(int j) const { return series[static_cast<std::size_t>(j - 1)]; }
  SeriesInfo& info(int j) { return series[static_cast<std::size_t>(j - 1)]; }

  /// Columns the value grids need: the longest series (ring positions) or the time span
  /// (calendar positions), whichever is larger.
  int positions_needed() const { return longest_length > time_span ? longest_length : time_span; }
};

}  // namespace kvr
