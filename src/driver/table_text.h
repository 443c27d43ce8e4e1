#pragma once

#include <string>
#include <vector>

#include "formats/table_report.h"
#include "measurements/measurement_reading.h"

namespace kvr {

/// What a NOAA template says of its data, one line each (without the console's leading
/// blank), for the title of the data on the console and the `#` lines of the result files:
///
///   Study: Cook - Big Bend National Park incl. Camp Springs - PSME - ITRDB TX042
///   Site: Big Bend National Park incl. Camp Springs, Texas; latitude 29.25, longitude -103.3,
///   elevation 2057 m                                      (one line)
///   Species: Pseudotsuga menziesii (Mirb.) Franco (Douglas-fir), PSME
///   Investigators: Cook, E.R.; Montagu, N.
///   Variable: total ring width (millimeter)
///
/// The variables are those of the series (not the year column), each named once. A line or
/// part that the file leaves empty is left out; control characters are shown as '?'. None for
/// a file of another kind.
std::vector<std::string> source_lines(const MeasurementReading& reading);

/// The source lines under " title of data:", as a decade file's header lines are echoed;
/// empty without lines.
std::string source_echo(const std::vector<std::string>& lines);

/// The warning line of a NOAA template's or a column table's reader, with the cells it quotes
/// shown as the console shows text.
std::string table_warning_line(const TableWarning& warning);

/// Why such a reader refuses the file, as one sentence after a blank.
std::string table_refusal_text(const TableRefusal& refusal);

}  // namespace kvr
