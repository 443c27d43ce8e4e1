#pragma once

#include <istream>
#include <string>
#include <vector>

#include "formats/read_report.h"
#include "measurements/measurement_set.h"

namespace kvr {

/// What reading a measurement file gives, in the order the console shows it: the echo, the
/// warnings, then why the file cannot be analysed, if it cannot.
struct MeasurementReading {
  /// The text records as the reader echoes them, with its own messages.
  std::string echo;
  /// The reading's warnings (describe() gives each line): those of the reading in the order
  /// of their lines; after them, for a file that can be analysed, one per series whose id an
  /// earlier series has.
  std::vector<ReadAnomaly> warnings;
  /// False when the file cannot be analysed; the run must then end.
  bool usable = false;
  /// The line that says why the file cannot be analysed (empty when it can, or when the echo
  /// says it: more than 25 text lines in a row).
  std::string refusal;
  /// The series read, when the file can be analysed.
  MeasurementSet set;
};

/// Reads every series of a decade-format file into a measurement set: ids, first and last
/// years, lengths, the run-wide years and lengths, start positions, and a value grid of one
/// row per series and set.positions_needed() columns, where 0.0 is stored as 0.001 and a
/// missing value is kMissing. Segments of one id join and series without end marker take the
/// file's units (SeriesAssembly). Refuses a chronology or a column table, a file without
/// series, more than 25 text lines in a row, and a file beyond the limits of series, values,
/// years or the years the result files can hold; the warnings met before such a limit come
/// with its refusal, as they often explain it.
MeasurementReading read_measurement_file(std::istream& in);

}  // namespace kvr
