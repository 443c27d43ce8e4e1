#pragma once

#include "io/console.h"
#include "measurements/measurement_file.h"

namespace kvr {

/// Shows the reading of the input file: the echo of its text records (of a NOAA template: what
/// it says of its data, source_lines), the warnings, and why the file cannot be analysed when
/// it cannot. The file name is typed behind its prompt, which
/// has no line end of its own: the first line starts on a new one unless the echo already did.
/// Returns whether the run goes on (reading.usable).
[[nodiscard]] bool show_reading(Console& console, const MeasurementReading& reading);

}  // namespace kvr
