#include "formats/series_read_call.h"

#include <algorithm>
#include <sstream>

#include "formats/datar.h"

namespace kvr {
namespace {

constexpr int kEndOfFileCount = -999;

int counted_series(int* counter) {
  *counter = std::max(*counter, 0) + 1;
  return *counter;
}

}  // namespace

SeriesReadCall::SeriesReadCall(LineReader& in, ReadMode mode, int max_length, TrrwSeries* series,
                               TrrwReadState* state)
    : in_(in),
      index_mode_(mode == ReadMode::kIndex),
      limit_(std::max(max_length, 0)),
      series_(series),
      state_(state),
      text_(&state->text, &state->echo, counted_series(&state->series_counter) == 1) {
  state_->dropped = DroppedSeries{};
  series_->count = 0;
  series_->values.clear();
  series_->depths.clear();
  series_->end_marker = EndMarker::kNone;
  series_->open_999.clear();
  series_->open_999_note = ReadAnomaly{};
  series_->ending = ReadAnomaly{};
}

void SeriesReadCall::store(float value, int depth) {
  ++series_->count;
  // Past the limit the series is only counted, so that the caller can name its extent.
  if (series_->count > limit_) return;
  series_->values.push_back(value);
  if (index_mode_) series_->depths.push_back(depth);
}

ReadAnomaly SeriesReadCall::anomaly(ReadAnomalyKind kind, int line_number, int year) const {
  ReadAnomaly a;
  a.kind = kind;
  a.line_number = line_number;
  a.id = series_->id;
  a.year = year;
  return a;
}

TrrwStatus SeriesReadCall::end_of_file(bool inside_series) {
  // Only a series closed by its end marker (or, in mode "ir", by fillers) is returned.
  if (inside_series) {
    DroppedSeries& dropped = state_->dropped;
    dropped.id = series_->id;
    dropped.first_year = series_->first_year;
    dropped.line_number = series_->first_line;
    dropped.count = series_->count;
  }
  return ended();
}

TrrwStatus SeriesReadCall::ended() {
  series_->count = kEndOfFileCount;
  state_->series_counter = kEndOfFileCount;
  series_->values.clear();
  series_->depths.clear();
  return TrrwStatus::kEndOfFile;
}

TrrwStatus SeriesReadCall::free_format_series(const std::string& line) {
  const int line_number = in_.line_number();
  in_.step_back();
  std::string buffer = record_columns(line, kRecordColumns);
  int count = 0;
  int first_year = 0;
  std::ostringstream messages;
  const DatarStatus status =
      datar(in_, limit_, &buffer, &count, &series_->values, &first_year, messages);
  state_->echo += messages.str();
  series_->id = buffer.substr(0, 8);
  if (status == DatarStatus::kEndOfFile) {
    // The series' count line never came: nothing of it can be used.
    DroppedSeries& dropped = state_->dropped;
    dropped.id = series_->id;
    dropped.first_year = 0;
    dropped.line_number = line_number;
    dropped.count = 0;
    return ended();
  }
  series_->first_year = first_year;
  series_->count = count;
  return complete();
}

}  // namespace kvr
