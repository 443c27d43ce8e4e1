#pragma once

#include <string>

#include "io/console.h"
#include "measurements/measurement_file.h"

namespace kvr {

/// What the console shows of the text met while reading: each read's text records, the first
/// under " title of data:" (control characters shown as '?'), the free-format reader's
/// messages and, after more than 25 text lines, the refusal that says so.
std::string echo_text(const MeasurementReading& reading);

/// The line that says why the file cannot be analysed, ending in "Program terminating."; empty
/// when it can be, or when the echo says why.
std::string refusal_line(const Refusal& refusal);

/// Shows the reading of the input file: the echo of its text records, the warnings, and why
/// the file cannot be analysed when it cannot. The file name is typed behind its prompt, which
/// has no line end of its own: the first line starts on a new one unless the echo already did.
/// Returns whether the run goes on (reading.usable).
[[nodiscard]] bool show_reading(Console& console, const MeasurementReading& reading);

}  // namespace kvr
