#pragma once

#include <string>
#include <vector>

#include "formats/file_kind.h"
#include "formats/noaa_metadata.h"
#include "formats/read_report.h"
#include "formats/series_read.h"
#include "formats/table_report.h"
#include "measurements/measured_series.h"
#include "measurements/measurement_set.h"

namespace kvr {

/// Why a measurement file cannot be analysed.
struct Refusal {
  enum class Kind {
    kNone,              // it can be
    kChronology,        // index records with sample depth
    kTable,             // a NOAA template or a column table that its reader refuses (`table`)
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
  TableRefusal table{};  // kTable: why the reader refuses the file
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
  /// What the file holds, judged from its first bytes.
  FileKind kind = FileKind::kMeasurements;
  /// One entry per read that met text records or a free-format error, in file order.
  std::vector<ReadText> text;
  /// A NOAA template's metadata and variables: the title of its data.
  NoaaMetadata metadata;
  std::vector<NoaaVariable> variables;
  /// The reading's warnings: those of the reading in the order of their lines; after them,
  /// for a file that can be analysed, one per series whose id an earlier series has. None
  /// after more than 25 text lines.
  std::vector<ReadAnomaly> warnings;
  /// The warnings of a NOAA template's or a column table's reader, in the order of their
  /// lines (a repeated column name among them).
  std::vector<TableWarning> table_warnings;
  /// False when the file cannot be analysed (`refusal` says why); the run must then end.
  bool usable = false;
  Refusal refusal;
  /// The series read, when the file can be analysed.
  MeasurementSet set;
  /// The same series in double precision, as the file gives them, one per series of `set`
  /// and in its order: what the series report and the regional curve are computed from.
  std::vector<MeasuredSeries> measured;
};

}  // namespace kvr
