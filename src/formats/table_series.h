#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "formats/table_report.h"

namespace kvr {

/// A count that stands for a missing value.
inline constexpr std::int32_t kMissingCount = std::numeric_limits<std::int32_t>::min();

/// One series of a NOAA template file or a column table, in the integer units its column was
/// written in. counts[i] is the value of year first_year + i: counts[i] / units_per_mm mm, or
/// kMissingCount. The first and the last count are values; 0 is a ring of 0, as in a decade
/// file. The id is the column's name, whole (a template's `_raw` suffix dropped).
struct TableSeries {
  std::string id;
  int first_year = 0;
  int first_line = 0;      // the line of the first value
  int units_per_mm = 100;  // 100: 0.01 mm, 1000: 0.001 mm
  std::vector<std::int32_t> counts;
};

/// What reading a file of either kind gives: the series in the order of their columns, the
/// warnings in the order of their lines, and, when the file cannot be used, why (the series
/// are then empty, the warnings those met before).
struct TableReading {
  std::vector<TableSeries> series;
  std::vector<TableWarning> warnings;
  TableRefusal refusal;

  [[nodiscard]] bool refused() const { return refusal.kind != TableRefusalKind::kNone; }
};

/// The value in mm of a count in the given units, computed as the decade reader computes the
/// value of the same integer, so that a series gives the same stored values from either form.
[[nodiscard]] inline float table_value_mm(std::int32_t count, int units_per_mm) {
  const float hundredths = static_cast<float>(count) * 0.01f;
  return units_per_mm == 1000 ? hundredths * 0.1f : hundredths;
}

}  // namespace kvr
