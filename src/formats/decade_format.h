#pragma once

namespace kvr {

/// Codes of decade-format records that both the reader and the writers know.
inline constexpr int kEndMarker = 999;               // ends a series in 0.01 mm
inline constexpr int kEndMarkerThousandths = -9999;  // ends a series in 0.001 mm
inline constexpr int kFiller = 9990;                 // an empty slot of an index record
inline constexpr int kLargestIndexValue = 9989;      // anything above is a filler
inline constexpr int kMissingCode = -999;            // a missing value inside a series

/// Values in the first record of a series that starts in `year`: 10 - (year mod 10) for a
/// year of 0 or more; |year mod 10|, or 10 when that is 0, for a negative year.
int first_record_values(int year);

/// Slot (1..10) of the first value in an index record of a series starting in `year`.
inline int first_index_slot(int year) { return 11 - first_record_values(year); }

}  // namespace kvr
