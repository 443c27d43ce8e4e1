#pragma once

#include <limits>
#include <string>
#include <vector>

namespace kvr {

/// A figure that does not exist, and a missing value: quiet NaN.
inline constexpr double kNotAvailable = std::numeric_limits<double>::quiet_NaN();

/// One measurement series as the file gives it, for the statistics that follow the field's
/// conventions: mm[i] is the value of year first_year + i in mm, the file's integer times its
/// unit in double precision (a zero ring 0), quiet NaN where the value is missing.
struct MeasuredSeries {
  std::string id;
  int first_year = 0;
  std::vector<double> mm;
};

}  // namespace kvr
