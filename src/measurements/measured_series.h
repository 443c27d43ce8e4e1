#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace kvr {

/// A figure that does not exist, and a missing value: quiet NaN.
inline constexpr double kNotAvailable = std::numeric_limits<double>::quiet_NaN();

/// One measurement series as the file gives it, for the statistics that follow the field's
/// conventions: mm[i] is the value of year first_year + i in mm, the file's integer times its
/// unit in double precision (a zero ring 0), quiet NaN where the value is missing. A series
/// of the free format holds its values as read (single precision), widened.
struct MeasuredSeries {
  std::string id;  // as the file writes it, without padding
  int first_year = 0;
  std::vector<double> mm;
};

/// The number of the series' values, missing ones included.
inline std::size_t value_count(std::span<const MeasuredSeries> set) {
  std::size_t count = 0;
  for (const MeasuredSeries& series : set) count += series.mm.size();
  return count;
}

}  // namespace kvr
