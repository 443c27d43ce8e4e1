#pragma once

#include <deque>
#include <string>
#include <vector>

#include "formats/column_view.h"
#include "formats/decade_format.h"
#include "formats/measurement_record.h"
#include "formats/series_builder.h"

namespace kvr {

/// Reads the next series of measurement records in one call of SeriesReader::next(), mending
/// the habits of real files as SeriesReader describes.
[[nodiscard]] SeriesRead read_measurement_series(SeriesBuilder& builder);

/// True when a slot from..slots-1 of `r` holds a measurement: a value above 0 other than 999.
/// What makes a -9999 before it no end marker.
bool holds_value(const MeasurementRecord& r, int from, int slots);

/// True when a slot from..slots-1 of `r` holds a measurement or the end marker -9999: what
/// makes a 999 before it no end marker. Missing codes, blanks and other 999s do not count.
bool holds_measurement(const MeasurementRecord& r, int from, int slots);

/// Values the record can hold: the slots its year leaves to the end of its decade.
inline int slots_of(const MeasurementRecord& r) { return first_record_values(r.reading.year); }

/// How a record relates to the series being read.
enum class Relation {
  kContinues,  // its year is the next one of the series
  kGap,        // same id, a later year: the years between are missing
  kEnds,       // an earlier year, or another id: the series ended before it
};

/// The reader of one series of measurement records: the reading of records and their relation
/// to the series (measurement_series_reader.cc), and the values, the 999s and the end markers
/// (measurement_series_ends.cc).
class MeasurementSeriesReader {
 public:
  explicit MeasurementSeriesReader(SeriesBuilder& builder)
      : builder_(builder), in_(builder.in()), series_(builder.series()) {}

  SeriesRead read();

 private:
  enum class Item { kEnd, kFreeFormat, kText, kRecord };
  // The next record held back, or the next line that is not skipped.
  Item next_item(MeasurementRecord* r);
  // The first record of a series: an id that runs into its year is read as 8 + 4 when only
  // that reading continues on the next line.
  void choose_first_reading(MeasurementRecord* r);
  void start_series(const MeasurementRecord& r);
  // How `r` relates to the series when its next record should carry `expected`; on
  // kContinues or kGap, *alternative tells that its 8 + 4 reading is the one that does.
  Relation relation_to_series(const MeasurementRecord& r, int expected, bool* alternative) const;
  // Reads `r` with its 8 + 4 reading.
  static void take_alternative(MeasurementRecord* r);
  // Notes what a record of the series that is read needs noting.
  void note_record(const MeasurementRecord& r, Relation relation);
  // Takes the values of one record of the series; true when the series ended in it.
  bool take_values(const MeasurementRecord& r);
  // What follows an end marker in the series.
  struct Ahead {
    bool value = false;   // the last record held holds a measurement (above 0, not 999)
    bool marker = false;  // a record held holds -9999
  };
  // After a 999 or an end marker in the record before `expected` (the year the next record
  // of the series should carry): reads on through the following records of the series (its
  // id, later years) and holds them back, up to the first that holds a measurement. Without
  // one, the records held hold only missing values, 999s and -9999s (the caller ends the
  // series and passes them over), and the line that ended the search is stepped back. While
  // records are held back, the answer of the search that held them stands.
  const Ahead& look_ahead(int expected);
  // True when the end marker `marker` (999 or -9999) in slot k of `r` (10: after its tenth
  // value) ends the series: no measurement follows it.
  bool marker_ends_series(const MeasurementRecord& r, int k, int marker);
  // Ends the series at `marker` in `r`, and passes over the records of only missing values
  // that follow it.
  void end_series(const MeasurementRecord& r, int marker);
  // True when the -9999 in slot k of `r` is a missing value: a measurement follows it in its
  // record, or its record's slots after it hold no blank and the series' next record starts
  // right after them, with a measurement there or in the records of missing values after it.
  bool series_goes_on(const MeasurementRecord& r, int k);
  // Passes over the records held back after the end marker on line `marker_line`.
  void pass_over_held(int marker_line);
  void end_at_marker(EndMarker marker);
  // Removes the values of the blank fields that end the series read so far.
  void drop_trailing_blanks();
  // Ends the series without its end marker before `r`, a record that does not continue it.
  void end_before(const MeasurementRecord& r);
  // Ends the series without its end marker at the end of the file.
  void end_at_end_of_file();
  // Ends the series without end marker, `ending` saying where; its units wait for the file's
  // other series.
  void end_without_marker(ReadAnomaly ending);
  // Counts a value of `r` (of `year`) for the series' warning `counted` of `kind`, which
  // names the first one.
  void count_value(ReadAnomaly* counted, ReadAnomalyKind kind, const MeasurementRecord& r,
                   int year) const;
  // Notes the warnings that count values of the whole series: missing codes, "NaN" fields.
  void note_counted_values();
  ReadAnomaly anomaly(ReadAnomalyKind kind, int line_number, int year) const {
    return builder_.anomaly(kind, line_number, year);
  }
  void note(const ReadAnomaly& a) { builder_.note(a); }

  SeriesBuilder& builder_;
  LineReader& in_;
  TrrwSeries& series_;

  int records_ = 0;
  int expected_year_ = 0;     // year the next record of the series should carry
  IdAndYear series_reading_;  // the series' id and the widths it is compared on
  bool series_as_a_ = false;  // its id runs into the year: read as 8 + 4
  bool noted_as_a_ = false;
  bool noted_characters_ = false;
  int last_record_line_ = 0;
  int trailing_blanks_ = 0;         // values of blank fields at the end of the series read so far
  ReadAnomaly missing_codes_note_;  // count 0 until a missing code is met
  ReadAnomaly not_a_number_note_;   // count 0 until a "NaN", "NA" or "." field is met
  ReadAnomaly inner_marker_note_;   // count 0 until a -9999 that the series goes on after
  std::vector<int> open_999_;       // positions (from 0) of 999 fields that measurements follow
  ReadAnomaly open_999_note_;
  std::deque<MeasurementRecord> held_;  // records read ahead, in file order
  Ahead ahead_;                         // what the search that held them found
  ColumnView view_;
  std::string line_;
};

}  // namespace kvr
