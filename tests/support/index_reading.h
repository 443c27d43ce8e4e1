#pragma once

// A reference reader of index records (a chronology such as KVRmodeled.crn), with which the
// tests read the run's chronology back. The program itself reads only measurements.

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "formats/series_read.h"
#include "formats/trrw_series.h"

namespace kvr::test {

/// Every series of a text of index records.
struct IndexReading {
  std::vector<TrrwSeries> series;
  std::vector<std::string> text_records;  // the lines that are no record (80 columns), in order
  std::optional<CutSeries> cut;           // a series the text ended inside
};

/// Index record, 80 columns:
///   variant A: 1-6 id, 7-10 year;  B (minus in column 6): 1-5 id, 6-10 year;
///   C (minus in column 5): 1-4 id, 5-10 year;
///   all variants: ten pairs, pair k (k = 1..10) a value of width 4 in columns
///   11+7(k-1) to 14+7(k-1) and a sample depth of width 3 in columns 15+7(k-1) to 17+7(k-1).
/// Values are thousandths; a filler (above 9989) followed by a value of the same series, in
/// the same record or in the next record of the same id that continues the years, is a
/// missing value (kMissing, depth 0); fillers after the last value end the series. A series
/// whose last record has no filler and no record after it is cut by the end of the text.
/// Without `keep_depths` the depths read 0.
IndexReading read_index(std::istream& in, bool keep_depths = true);
IndexReading read_index(const std::string& text, bool keep_depths = true);

}  // namespace kvr::test
