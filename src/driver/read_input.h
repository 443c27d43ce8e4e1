#pragma once

#include <istream>

#include "data/measurement_set.h"
#include "io/console.h"

namespace kvr {

/// Reads every series of a decade-format file into *set: ids, first and last years, lengths,
/// the run-wide years and lengths, start positions, and a value grid of one row per series
/// and set->positions_needed() columns, where 0.0 is stored as 0.001 and a missing value is
/// kMissing. Segments of one id join and series without end marker take the file's units
/// (SeriesAssembly). Prints the reading warnings in the order of their lines. Returns false
/// after printing why when the file cannot be analysed (a chronology or a column table, no
/// series, more than 25 text lines in a row, a limit exceeded); the run must then end.
[[nodiscard]] bool read_measurements(std::istream& in, Console& console, MeasurementSet* set);

}  // namespace kvr
