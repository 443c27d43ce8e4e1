#pragma once

#include <string>

#include "formats/read_report.h"
#include "formats/text_records.h"
#include "formats/trrw.h"
#include "io/line_reader.h"

namespace kvr {

/// One call of trrw_read as the readers of both modes see it: the lines, the buffer that
/// the series goes into, the text records and the state kept between calls, and what every
/// reader does the same way (storing values, noting anomalies, ending).
class SeriesReadCall {
 public:
  static constexpr int kRecordColumns = 80;

  /// Starts the call: clears the buffer and the dropped series, counts the series.
  SeriesReadCall(LineReader& in, ReadMode mode, int max_length, TrrwSeries* series,
                 TrrwReadState* state);

  LineReader& in() { return in_; }
  TrrwSeries& series() { return *series_; }
  const TrrwSeries& series() const { return *series_; }
  int limit() const { return limit_; }

  /// Takes a text record; false when it is one too many (the run must end).
  [[nodiscard]] bool text_record(const std::string& record) { return text_.take(record); }
  /// Counts the next value of the series and stores it, with its depth for index series,
  /// while the series is within the limit.
  void store(float value, int depth);
  /// An anomaly of the series read, at `line_number` and `year`.
  ReadAnomaly anomaly(ReadAnomalyKind kind, int line_number, int year) const;
  void note(const ReadAnomaly& anomaly) { state_->report.anomalies.push_back(anomaly); }

  /// The series is complete: too long, or one to use.
  TrrwStatus complete() const {
    return series_->count > limit_ ? TrrwStatus::kSeriesTooLong : TrrwStatus::kSeries;
  }
  /// The file ended; a series begun in this call (`inside_series`) is dropped and named.
  TrrwStatus end_of_file(bool inside_series);
  /// The line just read (`line`, with '#' in column 80) starts a free-format series: it and
  /// what follows are read by datar.
  TrrwStatus free_format_series(const std::string& line);

 private:
  TrrwStatus ended();

  LineReader& in_;
  const bool index_mode_;
  const int limit_;
  TrrwSeries* series_;
  TrrwReadState* state_;
  TextRecords text_;
};

}  // namespace kvr
