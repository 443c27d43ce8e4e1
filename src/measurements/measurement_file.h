#pragma once

#include <istream>

#include "measurements/measurement_reading.h"

namespace kvr {

/// Reads a measurement file into a measurement set, by the kind its first bytes show
/// (file_kind): a NOAA template or a column table through read_table_measurements; a
/// chronology is refused; anything else is read as decade-format records (or the free
/// format): every series' ids, first and last years, lengths, the run-wide years and lengths,
/// start positions, and a value grid of one row per series and set.positions_needed()
/// columns, where 0.0 is stored as 0.001 and a missing value is kMissing; and the same series
/// in double precision into `measured`. Segments of one id
/// join and series without end marker take the file's units (SeriesAssembly). Refuses a file
/// without series, more than 25 text lines in a row, and a file beyond the limits of series,
/// values, years or the years the result files can hold; the warnings met before such a limit
/// come with its refusal, as they often explain it.
MeasurementReading read_measurement_file(std::istream& in);

}  // namespace kvr
