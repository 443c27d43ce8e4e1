#pragma once

#include "formats/read_report.h"
#include "formats/text_records.h"
#include "formats/trrw_series.h"
#include "io/line_reader.h"

namespace kvr {

/// The two ways of reading series from a decade-format file.
enum class ReadMode {
  kMeasurements,  // "mr": measurement records, 999 / -9999 end markers
  kIndex,         // "ir": index records with sample depth
};

enum class TrrwStatus {
  kSeries,            // one series read into the buffer
  kEndOfFile,         // no further series; count and the series counter are -999
  kTooManyTextLines,  // "sbr trrw:  over 25 text lines" is in the echo; the run must end
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

/// What the caller keeps between the read calls of one file; a new file starts with a new one.
struct TrrwReadState {
  int series_counter = 0;  // series read so far; -999 once the file has ended
  TrrwText text;           // the title of the latest call and the file's header lines
  ReadReport report;       // the anomalies met, in file order
  DroppedSeries dropped;   // set by the call that met the end of the file inside a series
  /// What the console shows of the calls, appended to (the caller takes it when it likes):
  /// the text records (control characters shown as '?'), the free-format reader's messages
  /// and the refusal of too many text lines. The program keeps no listing file, so the
  /// listing destination of the read call goes nowhere.
  std::string echo;
};

/// Reads one series into *series (trrw modes "mr" and "ir").
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
/// series as usual. A caller that sets an id beginning with "******" before the call reads
/// the values without their depths.
///
/// In either mode a first line with '#' in column 80 starts a free-format series (datar).
[[nodiscard]] TrrwStatus trrw_read(LineReader& in, ReadMode mode, int max_length,
                                   TrrwSeries* series, TrrwReadState* state);

}  // namespace kvr
