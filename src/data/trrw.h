#pragma once

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "data/decade_format.h"
#include "data/read_report.h"
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

/// How a measurement series ended: at 999 (units of 0.01 mm), at -9999 (0.001 mm), or at a
/// record of another series, its end marker lost. kNone for other modes and free format.
enum class EndMarker { kNone, kHundredths, kThousandths, kLost };

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

  // Reading, mode "mr": how the series ended. A series without its end marker (kLost) holds
  // its values in 0.01 mm until the units of the file's other series are known; so do the
  // values of its 999 fields that measurements follow (positions from 0 in open_999), whose
  // warning waits in open_999_note (count 0 when there is none). `ending` is the warning
  // of where it ended, without its units.
  EndMarker end_marker = EndMarker::kNone;
  std::vector<int> open_999;
  ReadAnomaly open_999_note;
  ReadAnomaly ending;
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

/// Reads one series (modes "mr" and "ir"). `series_counter` is kept by the caller between
/// calls, starting at 0. Text records are echoed to `console` (and nowhere else: the program
/// keeps no listing file, so the listing destination of the read call goes nowhere). In the
/// echo, control characters (an escape sequence in a damaged file) are shown as '?'; the
/// stored title and header lines keep them. `dropped` is set when the file ends inside a
/// series; `report`, when given, collects the anomalies met. Both may be null.
///
/// Mode "mr" reads the habits of real files without losing, moving or inventing a value; each
/// mend is reported:
/// - a negative value other than -9999 is a missing value (kMissing) at its year;
/// - a record whose year jumps ahead leaves the years between missing; one that goes back, or
///   one of another id whose year does not continue the series, ends the series there (its end
///   marker was lost: EndMarker::kLost) and starts the next;
/// - 999 ends a series only when no measurement (nor -9999) follows it in the series: in its
///   record or in the next records of its id; otherwise it is 0.999 mm in a series that ends
///   with -9999 and missing in one that ends with 999. Records of only missing values after an
///   end marker are passed over;
/// - an id that runs into the year (variant B or C whose year does not read, or whose years
///   do not continue while the 8 + 4 reading does) is read as variant A;
/// - a line in UTF-8 is read by characters (ColumnView); values shifted in their columns are
///   read by splitting at blanks; one value field that is no number in a record of the series
///   is missing.
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
