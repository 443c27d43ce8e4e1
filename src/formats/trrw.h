#pragma once

#include "formats/series_read.h"
#include "io/line_reader.h"

namespace kvr {

/// Reads a decade-format file of measurement records series by series. It reads the habits of real
/// files without losing, moving or inventing a value; each mend is reported:
/// - a negative value other than -9999 is a missing value (kMissing) at its year, and so is a
///   field of "NaN", "NA" (any case) or ".";
/// - a record whose year jumps ahead leaves the years between missing; one that goes back, or
///   one of another id whose year does not continue the series, ends the series there (its end
///   marker was lost: EndMarker::kLost) and starts the next; a series that the file ends
///   inside ends there in the same way;
/// - 999 ends a series only when no measurement (nor -9999) follows it in the series: in its
///   record or in the next records of its id; otherwise it is 0.999 mm in a series that ends
///   with -9999 and missing in one that ends with 999. Likewise -9999 ends a series only when
///   no measurement follows it in its record, or in the series' next record right after its
///   record's values; otherwise it is missing. An end marker right after the tenth value of
///   a full record (columns 73-78) ends the series likewise. Records of only missing values
///   after an end marker are passed over;
/// - an id that runs into the year (variant B or C whose year does not read, or whose years
///   do not continue while the 8 + 4 reading does) is read as variant A;
/// - a line in UTF-8 is read by characters (ColumnView); values shifted in their columns are
///   read by splitting at blanks; one value field that is no number in a record of the series
///   is missing.
///
/// A first line with '#' in column 80 starts a free-format series (datar).
class SeriesReader {
 public:
  /// Reads from `in`; a series of more than `max_length` values is handed out as too long.
  SeriesReader(LineReader& in, int max_length) : in_(in), max_length_(max_length) {}

  /// The next series of the file, or why the reading stops (trrw). Once it has handed out
  /// kEndOfFile or kTooManyTextLines, nothing more is to be read.
  [[nodiscard]] SeriesRead next();

 private:
  LineReader& in_;
  int max_length_;
  // A free-format series has no line of its own in the reading: it is handed out with the
  // first line of the series before it (0 for the file's first series), as the reader has
  // always numbered it.
  int previous_first_line_ = 0;
};

}  // namespace kvr
