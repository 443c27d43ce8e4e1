#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formats/read_report.h"
#include "formats/trrw_series.h"

namespace kvr {

/// How the free-format reader (datar) ended a series.
enum class DatarStatus {
  kSeries,         // count values read
  kEndOfFile,      // the file ended before a count line: no series
  kReadError,      // a field did not read (or a negative count): the values not read are missing
  kUnexpectedEnd,  // the file ended inside the values: the values not read are missing
};

/// A series that the file ended inside before it could be read (a free-format series before
/// its count line); it is not handed out. A series of measurement records that the file ends
/// inside is handed out without its end marker (EndMarker::kLost).
struct CutSeries {
  std::string id;
  int first_year = 0;
  int line_number = 0;  // line of its first record
};

/// What one SeriesReader::next() hands out: the next series, or why the reading stopped, with
/// what was met on the way there.
struct SeriesRead {
  enum class Kind {
    kSeries,            // `series` is the next series of the file
    kEndOfFile,         // no further series; `cut` names a series the file ended inside
                        // before it could be read
    kTooManyTextLines,  // more than 25 text lines before one series: the file cannot be read on
    kSeriesTooLong,     // more values than the limit: `series` holds its id, first year, the
                        // full number of values (count) and the first max_length of them
  };
  Kind kind = Kind::kEndOfFile;
  TrrwSeries series;
  std::optional<CutSeries> cut;
  /// The text records met before the series (or the stop), in file order, each the line's
  /// first 80 columns as they stand (control characters included); at most 25.
  std::vector<std::string> text_records;
  /// What the reader mended or the user should know, in file order.
  std::vector<ReadAnomaly> anomalies;
  /// A free-format series: how its reading ended (kSeries for every other series).
  DatarStatus free_format = DatarStatus::kSeries;
};

}  // namespace kvr
