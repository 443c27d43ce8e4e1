#pragma once

#include <iosfwd>
#include <string_view>

#include "formats/trrw_series.h"

namespace kvr {

/// The two ways of writing a series as decade-format records.
enum class WriteMode {
  kMeasurements,  // "mw": measurement records in 0.001 mm, -9999 after the last value
  kIndex,         // "iw": index records with sample depth
};

/// Writes one series; nothing when series.count < 1. `record_tag` (3 characters) goes after
/// full decade records. In index records a value that is exactly kMissing is written as the
/// filler 9990 with sample depth 0. A number too wide for its field is written as asterisks,
/// as formatted output does.
void trrw_write(std::ostream& out, WriteMode mode, const TrrwSeries& series,
                std::string_view record_tag);

}  // namespace kvr
