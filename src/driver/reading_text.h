#pragma once

#include <string>

#include "formats/read_report.h"
#include "measurements/measurement_file.h"

namespace kvr {

/// One warning line for `anomaly`, with the leading blank of every console line, e.g.
/// ` Warning: line 41, series "569012": missing-value code -999 in 1 value from year 1970, read
/// as missing`.
std::string warning_line(const ReadAnomaly& anomaly);

/// What the console shows of the text met while reading: each read's text records, the first
/// under " title of data:" (control characters shown as '?'), the free-format reader's
/// messages and, after more than 25 text lines, the refusal that says so.
std::string echo_text(const MeasurementReading& reading);

/// The line that says why the file cannot be analysed, ending in "Program terminating."; empty
/// when it can be, or when the echo says why.
std::string refusal_line(const Refusal& refusal);

}  // namespace kvr
