#pragma once

#include <string>

#include "formats/series_read.h"
#include "io/line_reader.h"

namespace kvr {

/// The SeriesRead that one call of SeriesReader::next() builds while a record reader reads
/// the lines: the series stored value by value, the text records and anomalies met, and the
/// ways the call ends, each of which hands the result out.
class SeriesBuilder {
 public:
  static constexpr int kRecordColumns = 80;

  SeriesBuilder(LineReader& in, int max_length);

  LineReader& in() { return in_; }
  TrrwSeries& series() { return read_.series; }
  const TrrwSeries& series() const { return read_.series; }
  int limit() const { return limit_; }

  /// Takes a text record; false when it is one too many (too_many_text_lines() must follow).
  [[nodiscard]] bool text_record(const std::string& record);
  /// Counts the next value of the series and stores its field (kMissingField for a missing
  /// value) while the series is within the limit.
  void store(int field);
  /// An anomaly of the series read, at `line_number` and `year`.
  ReadAnomaly anomaly(ReadAnomalyKind kind, int line_number, int year) const;
  void note(const ReadAnomaly& anomaly) { read_.anomalies.push_back(anomaly); }

  /// The series is complete: too long, or one to use. A series of measurement records gets
  /// its values from its fields, in the units of its end marker.
  [[nodiscard]] SeriesRead complete();
  /// The file ended before a series began.
  [[nodiscard]] SeriesRead end_of_file();
  /// The text record past the 25th.
  [[nodiscard]] SeriesRead too_many_text_lines();
  /// The line just read (`line`, with '#' in column 80) starts a free-format series: it and
  /// what follows are read by datar.
  [[nodiscard]] SeriesRead free_format_series(const std::string& line);

 private:
  SeriesRead handed_out(SeriesRead::Kind kind);

  LineReader& in_;
  const int limit_;
  SeriesRead read_;
};

}  // namespace kvr
