#pragma once

// What every reading of a NOAA template file or a column table must hold, whatever the bytes:
// series or a refusal, each series from a value to a value in one of the two units and within
// the limits, and a text for every warning and refusal. A breach stops the fuzzer.

#include "common/dimensions.h"
#include "formats/table_series.h"

namespace kvr::fuzz {

inline void check_table_reading(const TableReading& reading) {
  if (reading.refused() != reading.series.empty()) __builtin_trap();
  if (reading.refused() && describe(reading.refusal).empty()) __builtin_trap();
  if (reading.series.size() > static_cast<std::size_t>(kMaxSeries)) __builtin_trap();
  for (const TableSeries& s : reading.series) {
    if (s.counts.empty() || s.counts.size() > static_cast<std::size_t>(kMaxPositions)) {
      __builtin_trap();
    }
    if (s.counts.front() == kMissingCount || s.counts.back() == kMissingCount) __builtin_trap();
    if (s.units_per_mm != 100 && s.units_per_mm != 1000) __builtin_trap();
    for (const std::int32_t count : s.counts) {
      if (count < 0 && count != kMissingCount) __builtin_trap();
    }
  }
  for (const TableWarning& w : reading.warnings) {
    if (describe(w).empty()) __builtin_trap();
  }
}

}  // namespace kvr::fuzz
