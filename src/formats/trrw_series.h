#pragma once

#include <limits>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "formats/read_report.h"

namespace kvr {

/// A value field of a measurement record read as a missing value.
inline constexpr int kMissingField = std::numeric_limits<int>::min();

/// A field's value in mm in single precision, as the value grids hold it: the integer in
/// units of 0.01 mm (`units` 100) or 0.001 mm (1000), kMissing for kMissingField. A value in
/// 0.001 mm is computed from the one in 0.01 mm, as the reader has always computed it.
inline float field_value(int field, int units) {
  if (field == kMissingField) return kMissing;
  const float hundredths = static_cast<float>(field) * 0.01f;
  return units == 1000 ? hundredths * 0.1f : hundredths;
}

/// A field's value in mm in double precision: the integer times its unit (0.01 or 0.001 mm),
/// quiet NaN for kMissingField.
inline double field_mm(int field, int units) {
  if (field == kMissingField) return std::numeric_limits<double>::quiet_NaN();
  return static_cast<double>(field) * (units == 1000 ? 0.001 : 0.01);
}

/// How a measurement series ended: at 999 (units of 0.01 mm), at -9999 (0.001 mm), or at a
/// record of another series or the end of the file, its end marker lost. kNone for free
/// format.
enum class EndMarker { kNone, kHundredths, kThousandths, kLost };

/// The units of the fields of a series that ended at `marker`: 1000 (0.001 mm) for -9999,
/// otherwise 100 (0.01 mm; for kLost until the file's other series settle them).
inline int units_of(EndMarker marker) { return marker == EndMarker::kThousandths ? 1000 : 100; }

/// One series as the decade-format reader hands it out and the writers take it. values[i - 1]
/// is value i; depths[i - 1] its sample depth (index records only). `id` is 8 characters for
/// measurement series, 6 for a chronology.
///
/// On reading, values hold the values stored: `count` of them, or max_length for a series
/// too long (SeriesRead::Kind::kSeriesTooLong). A series of measurement records holds the same
/// values in `fields` as the integers of their fields (kMissingField where missing), and in
/// `values` in mm, in the units of its end marker (field_value()). On writing,
/// values[0..count-1] are written; a value or depth beyond the end of its vector counts as
/// missing (value) or 0 (depth).
struct TrrwSeries {
  std::string id;
  int first_year = 0;
  int count = 0;
  int first_line = 0;  // reading: the line of the series' first record
  std::vector<float> values;
  std::vector<int> fields;
  std::vector<int> depths;

  // Reading measurements: how the series ended. A series without its end marker (kLost)
  // holds its values in 0.01 mm until the units of the file's other series are known; its 999
  // fields that measurements follow (positions from 0 in open_999) hold 999 until then, and
  // their warning waits in open_999_note (count 0 when there is none). `ending` is the
  // warning of where it ended, without its units.
  EndMarker end_marker = EndMarker::kNone;
  std::vector<int> open_999;
  ReadAnomaly open_999_note;
  ReadAnomaly ending;
};

}  // namespace kvr
