#pragma once

#include <istream>
#include <string>
#include <vector>

#include "formats/read_report.h"
#include "formats/series_read.h"
#include "measurements/measured_series.h"
#include "measurements/measurement_set.h"

namespace kvr {

/// Why a measurement file cannot be analysed.
struct Refusal {
  enum class Kind {
    kNone,              // it can be
    kChronology,        // index records with sample depth
    kColumnTable,       // a year, then one value per series
    kTooManyTextLines,  // more than 25 text lines before one series
    kNoSeries,          // no series at all
    kSeriesTooLong,     // `series` holds more values than kMaxPositions
    kUnwritableYears,   // `series` has years the decade-format result files cannot hold
    kTooManySeries,     // more than kMaxSeries series; `series` is the first one too many
    kSpanTooLong,       // the series span `time_span` years, more than kMaxPositions, from
                        // `series` (the earliest first year) to `latest` (the latest last year)
  };
  Kind kind = Kind::kNone;
  SeriesInfo series;
  SeriesInfo latest;
  int time_span = 0;
};

/// The years that the decade-format result files can hold: a year field of at most six
/// columns with its minus sign, and of four columns for years from 0 on.
inline constexpr int kEarliestWritableYear = -99999;
inline constexpr int kLatestWritableYear = 9999;

/// The text that one read of a series met: its text records (80 columns each, as they stand)
/// and, for a free-format series, how its reading ended.
struct ReadText {
  std::vector<std::string> text_records;
  DatarStatus free_format = DatarStatus::kSeries;
};

/// What reading a measurement file gives, in the order the console shows it: the text met,
/// the warnings, then why the file cannot be analysed, if it cannot.
struct MeasurementReading {
  /// One entry per read that met text records or a free-format error, in file order.
  std::vector<ReadText> text;
  /// The reading's warnings: those of the reading in the order of their lines; after them,
  /// for a file that can be analysed, one per series whose id an earlier series has. None
  /// after more than 25 text lines.
  std::vector<ReadAnomaly> warnings;
  /// False when the file cannot be analysed (`refusal` says why); the run must then end.
  bool usable = false;
  Refusal refusal;
  /// The series read, when the file can be analysed.
  MeasurementSet set;
  /// The same series in double precision, as the file gives them, one per series of `set`
  /// and in its order: what the series report and the regional curve are computed from.
  std::vector<MeasuredSeries> measured;
};

/// Reads every series of a decade-format file into a measurement set: ids, first and last
/// years, lengths, the run-wide years and lengths, start positions, and a value grid of one
/// row per series and set.positions_needed() columns, where 0.0 is stored as 0.001 and a
/// missing value is kMissing; and the same series in double precision into `measured`.
/// Segments of one id join and series without end marker take the file's units
/// (SeriesAssembly). Refuses a chronology or a column table, a file without
/// series, more than 25 text lines in a row, and a file beyond the limits of series, values,
/// years or the years the result files can hold; the warnings met before such a limit come
/// with its refusal, as they often explain it.
MeasurementReading read_measurement_file(std::istream& in);

}  // namespace kvr
