#pragma once

#include <string>
#include <vector>

namespace kvr {

/// Forms of a value field that stands for a missing value, as bits: "NaN" and "NA" in any
/// case, and ".".
inline constexpr unsigned kNaNForm = 1;
inline constexpr unsigned kNAForm = 2;
inline constexpr unsigned kDotForm = 4;

/// Something met while reading a measurement file that the reader mended or that the user
/// should know; the console shows each as a warning.
enum class ReadAnomalyKind {
  kYearGap,            // a record jumps ahead: years expected_year..year - 1 are missing
  kYearBack,           // a record goes back to years already read: the series ends before it
  kLostEndMarker,      // a record of another id where the series should go on: it ends there
  kOtherId,            // a record of another id whose year continues the series: read with it
  kMissingCodes,       // negative codes read as missing: codes, count, first year
  kNotANumber,         // "NaN", "NA" or "." fields read as missing: forms (value), count, year
  kFillerValue,        // the index filler 9990 inside a measurement series, kept as read
  kNotEndMarker,       // 999 followed by measurements: count, first year; units tell its reading
  kMarkerInSeries,     // -9999 followed by measurements, read as missing: count, first year
  kPassedOver,         // records of only missing values after an end marker, passed over
  kEleventhField,      // an end marker (value) after the tenth value of a full record: it ends
                       // the series
  kIdIntoYear,         // an id that runs into the year: read as 8 + 4
  kByCharacters,       // a record in UTF-8 with multi-byte characters: columns are characters
  kShiftedValues,      // values shifted in their columns: read by splitting at blanks
  kUnalignedValues,    // values not right-aligned that do not split: read from the columns
  kFieldNoNumber,      // one value field of a record of the series is no number: missing
  kCutMarker,          // a field reads 999 or -9999 only as a piece of a number cut across
                       // fields (field number in count, its value): missing, no end marker
  kBeyondSlots,        // values after the slots that the record's year leaves (count), not read
  kRecordNotRead,      // a line inside a series that does not read as its record
  kCutByEndOfFile,     // the file ends inside a free-format series, before its count: left out
  kEndOfFileInSeries,  // the file ends inside a series, before its end marker: it ends there
  kNoValues,           // a series of only its end marker
  kJoined,             // a segment of an id that came back, joined to its earlier series
  kDuplicateId,        // the id of an earlier series (count: its number; other_line: its line)
};

struct ReadAnomaly {
  ReadAnomalyKind kind = ReadAnomalyKind::kYearGap;
  int line_number = 0;
  std::string id;          // the series' id (8 characters)
  int year = 0;            // the record's year, or the year of the first value concerned
  int expected_year = 0;   // the year that would continue the series
  int last_year = 0;       // the last year of the series (or segment) concerned
  int value = 0;           // a field as read; kNotANumber: the forms met (kNaNForm, ...)
  int count = 0;           // values, records or years concerned
  int other_line = 0;      // a second line: the series' previous record, its marker, ...
  int last_line = 0;       // kPassedOver: the last record passed over
  std::string other_id;    // kLostEndMarker, kOtherId: the record's id
  std::vector<int> codes;  // kMissingCodes: the codes met, in order of appearance
  int units = 0;           // 100: 0.01 mm, 1000: 0.001 mm (0: not known yet)
  int units_series = 0;    // series of the file whose end marker gave the units
  int joined_first = 0;    // kJoined: the years of the joined series
  int joined_last = 0;
};

}  // namespace kvr
