#include "formats/series_builder.h"

#include <algorithm>
#include <utility>

#include "formats/datar.h"

namespace kvr {
namespace {

constexpr int kMaxTextRecords = 25;

}  // namespace

SeriesBuilder::SeriesBuilder(LineReader& in, int max_length)
    : in_(in), limit_(std::max(max_length, 0)) {}

bool SeriesBuilder::text_record(const std::string& record) {
  if (static_cast<int>(read_.text_records.size()) == kMaxTextRecords) return false;
  read_.text_records.push_back(record);
  return true;
}

void SeriesBuilder::store(int field) {
  ++read_.series.count;
  // Past the limit the series is only counted, so that the caller can name its extent.
  if (read_.series.count > limit_) return;
  read_.series.fields.push_back(field);
}

ReadAnomaly SeriesBuilder::anomaly(ReadAnomalyKind kind, int line_number, int year) const {
  ReadAnomaly a;
  a.kind = kind;
  a.line_number = line_number;
  a.id = read_.series.id;
  a.year = year;
  return a;
}

SeriesRead SeriesBuilder::handed_out(SeriesRead::Kind kind) {
  read_.kind = kind;
  return std::move(read_);
}

SeriesRead SeriesBuilder::complete() {
  TrrwSeries& series = read_.series;
  if (series.end_marker != EndMarker::kNone) {
    const int units = units_of(series.end_marker);
    series.values.resize(series.fields.size());
    for (std::size_t i = 0; i < series.fields.size(); ++i) {
      series.values[i] = field_value(series.fields[i], units);
    }
  }
  return handed_out(read_.series.count > limit_ ? SeriesRead::Kind::kSeriesTooLong
                                                : SeriesRead::Kind::kSeries);
}

SeriesRead SeriesBuilder::end_of_file() {
  read_.series = TrrwSeries{};
  return handed_out(SeriesRead::Kind::kEndOfFile);
}

SeriesRead SeriesBuilder::too_many_text_lines() {
  return handed_out(SeriesRead::Kind::kTooManyTextLines);
}

SeriesRead SeriesBuilder::free_format_series(const std::string& line) {
  const int line_number = in_.line_number();
  in_.step_back();
  FreeFormatSeries free = datar(in_, limit_, record_columns(line, kRecordColumns));
  TrrwSeries& series = read_.series;
  series.id = free.id_line.substr(0, 8);
  if (free.status == DatarStatus::kEndOfFile) {
    // The series' count line never came: nothing of it can be used.
    read_.cut = CutSeries{series.id, 0, line_number};
    read_.series = TrrwSeries{};
    return handed_out(SeriesRead::Kind::kEndOfFile);
  }
  read_.free_format = free.status;
  series.first_year = free.first_year;
  series.count = free.count;
  series.values = std::move(free.values);
  return complete();
}

}  // namespace kvr
