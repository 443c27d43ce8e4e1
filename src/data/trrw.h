#pragma once

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "data/decade_format.h"
#include "io/line_reader.h"

namespace kvr {

/// The five ways of moving one series through a decade-format file.
enum class TrrwMode {
  kMeasurementRead,   // "mr": measurement records, 999 / -9999 end markers
  kIndexRead,         // "ir": index records with sample depth
  kMeasurementWrite,  // "mw"
  kIndexWrite,        // "iw"
  kChronologyWrite,   // "cr": index records after an index header record
};

/// The one-series transfer buffer. values[i - 1] is value i; depths[i - 1] its sample depth
/// (index modes only). `id` is 8 characters for measurement series, 6 for a chronology.
///
/// On reading, values (and, in mode "ir", depths) hold the values stored: `count` of them,
/// or max_length for kSeriesTooLong. On writing, values[0..count-1] are written; a value or
/// depth beyond the end of its vector counts as missing (value) or 0 (depth).
struct TrrwSeries {
  std::string id;
  int first_year = 0;
  int count = 0;       // on reading -999 at the end of the file
  int first_line = 0;  // reading: the line of the series' first record
  std::vector<float> values;
  std::vector<int> depths;
};

/// Text records kept by the caller between read calls: the title (first text record met in
/// the latest call, blank when the call met none) and the first three text records of the
/// file. Each is 85 characters, blank padded; a stored record holds the line's first 80.
struct TrrwText {
  std::string title = std::string(85, ' ');
  std::array<std::string, 3> header_lines = {std::string(85, ' '), std::string(85, ' '),
                                             std::string(85, ' ')};
};

enum class TrrwStatus {
  kSeries,            // one series read into the buffer
  kEndOfFile,         // no further series; count and the series counter are -999
  kTooManyTextLines,  // "sbr trrw:  over 25 text lines" has been printed; the run must end
  kSeriesTooLong,     // more values than max_length: id, first year and count (the full
                      // number of values, only max_length of them stored) describe it
};

/// A series the file ended inside, without its end marker; it is not returned.
/// Every read call clears it; line_number stays 0 when nothing was dropped.
struct DroppedSeries {
  std::string id;
  int first_year = 0;
  int line_number = 0;  // line of its first record
  int count = 0;        // values met before the file ended
};

/// Something odd met while reading a series. The values stay exactly as read; the caller
/// prints these as warnings.
enum class ReadAnomalyKind {
  kYearBreak,      // a record whose year does not continue its series (a missing, repeated or
                   // out-of-order decade, or two series run together)
  kNegativeValue,  // a negative measurement other than the end marker -9999 (e.g. -999)
  kFillerValue,    // the index filler 9990 inside a measurement series
};

struct ReadAnomaly {
  ReadAnomalyKind kind = ReadAnomalyKind::kYearBreak;
  int line_number = 0;
  std::string id;         // the series' id (8 characters)
  int year = 0;           // kYearBreak: the record's year; otherwise the year of the value
  int expected_year = 0;  // kYearBreak: the year that would continue the series
  int value = 0;          // the field as read (value kinds)
};

/// Collects the anomalies of every read call it is passed to, in file order.
struct ReadReport {
  std::vector<ReadAnomaly> anomalies;
};

/// One warning line for `anomaly`, with the leading blank of every console line, e.g.
/// ` Warning: line 41, series "569012": negative value -999 in year 1970, kept as read`.
std::string describe(const ReadAnomaly& anomaly);

/// Reads one series (modes "mr" and "ir"). `series_counter` is kept by the caller between
/// calls, starting at 0. Text records are echoed to `console` (and nowhere else: the program
/// keeps no listing file, so the listing destination of the read call goes nowhere). In the
/// echo, control characters (an escape sequence in a damaged file) are shown as '?'; the
/// stored title and header lines keep them. `dropped` is set when the file ends inside a
/// series; `report`, when given, collects the anomalies met. Both may be null.
///
/// Mode "ir" also reads chronologies with gaps: a filler (above 9989) followed by a value of
/// the same series, in the same record or in the next record of the same id that continues
/// the years, is a missing value (kMissing, depth 0). Fillers after the last value end the
/// series as usual.
[[nodiscard]] TrrwStatus trrw_read(LineReader& in, TrrwMode mode, int max_length,
                                   TrrwSeries* series, int* series_counter, TrrwText* text,
                                   std::ostream& console, DroppedSeries* dropped,
                                   ReadReport* report = nullptr);

/// Writes one series (modes "mw", "iw", "cr"); nothing when series.count < 1. `record_tag`
/// (3 characters) goes after full decade records. In modes "iw" and "cr" a value that is
/// exactly kMissing is written as the filler 9990 with sample depth 0. A number too wide for
/// its field is written as asterisks, as formatted output does.
void trrw_write(std::ostream& out, TrrwMode mode, const TrrwSeries& series,
                std::string_view record_tag);

}  // namespace kvr
