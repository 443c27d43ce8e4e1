#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "formats/trrw_series.h"

namespace kvr {

/// The two ways of writing a series as decade-format records.
enum class WriteMode {
  kMeasurements,  // "mw": measurement records in 0.001 mm, -9999 after the last value
  kIndex,         // "iw": index records with sample depth
};

/// Characters of the id in every record of a series whose first year is `first_year`: 8 in
/// measurement records and 6 in index records before a year of four columns, one fewer for
/// each column the year takes beyond four (5 from -9999 to -1000, 6 below). A longer id is
/// cut, a shorter one padded with blanks.
[[nodiscard]] int record_id_width(WriteMode mode, int first_year);

/// Writes one series; nothing when series.count < 1. `record_tag` (3 characters) goes after
/// full decade records. In index records a value that is exactly kMissing is written as the
/// filler 9990 with sample depth 0. A number too wide for its field is written as asterisks,
/// as formatted output does.
void trrw_write(std::ostream& out, WriteMode mode, const TrrwSeries& series,
                std::string_view record_tag);
/// The same records appended to *text.
void trrw_append(std::string* text, WriteMode mode, const TrrwSeries& series,
                 std::string_view record_tag);

}  // namespace kvr
