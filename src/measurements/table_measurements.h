#pragma once

#include <istream>

#include "formats/file_kind.h"
#include "measurements/measurement_reading.h"

namespace kvr {

/// Reads a NOAA template file (`kind` kNoaaTemplate) or a column table (kColumnTable) into a
/// measurement reading: the reader's warnings, a template's metadata and variables, and one
/// series per column that holds a value, in the order of the columns.
///
/// Each series keeps its column's name whole as its id (padded to 8 characters when shorter)
/// and runs from its first value to its last. The value grid holds each count as the decade
/// reader stores the same integer of the same unit (table_value_mm), 0 as 0.001 and a missing
/// value as kMissing; `measured` holds the count times its unit in double precision, 0 for a
/// ring of 0, NaN where missing.
///
/// Refuses what the reader refuses (Refusal::Kind::kTable), and, as for decade files, a series
/// of more than kMaxPositions values or with years outside kEarliestWritableYear to
/// kLatestWritableYear, more than kMaxSeries series, and series that span more than
/// kMaxPositions years.
MeasurementReading read_table_measurements(FileKind kind, std::istream& in);

}  // namespace kvr
