#pragma once

#include <string>
#include <vector>

#include "formats/read_report.h"

namespace kvr {

/// How a measurement series ended: at 999 (units of 0.01 mm), at -9999 (0.001 mm), or at a
/// record of another series or the end of the file, its end marker lost. kNone for free
/// format.
enum class EndMarker { kNone, kHundredths, kThousandths, kLost };

/// One series as the decade-format reader hands it out and the writers take it. values[i - 1]
/// is value i; depths[i - 1] its sample depth (index records only). `id` is 8 characters for
/// measurement series, 6 for a chronology.
///
/// On reading, values hold the values stored: `count` of them, or max_length for a series
/// too long (SeriesRead::Kind::kSeriesTooLong). On writing, values[0..count-1] are written; a
/// value or depth beyond the end of its vector counts as missing (value) or 0 (depth).
struct TrrwSeries {
  std::string id;
  int first_year = 0;
  int count = 0;
  int first_line = 0;  // reading: the line of the series' first record
  std::vector<float> values;
  std::vector<int> depths;

  // Reading measurements: how the series ended. A series without its end marker (kLost)
  // holds its values in 0.01 mm until the units of the file's other series are known; so do
  // the values of its 999 fields that measurements follow (positions from 0 in open_999),
  // whose warning waits in open_999_note (count 0 when there is none). `ending` is the
  // warning of where it ended, without its units.
  EndMarker end_marker = EndMarker::kNone;
  std::vector<int> open_999;
  ReadAnomaly open_999_note;
  ReadAnomaly ending;
};

}  // namespace kvr
