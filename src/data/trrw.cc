#include "data/trrw.h"

#include <algorithm>
#include <array>
#include <ostream>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "data/datar.h"
#include "data/decade_format.h"

namespace kvr {
namespace {

constexpr int kRecordColumns = 80;
constexpr std::size_t kStoredTextColumns = 85;
constexpr int kMaxTextRecords = 25;
constexpr int kEndOfFileCount = -999;

// One decade record as read from its columns.
struct DecadeRecord {
  std::string id;  // 8 characters
  int year = 0;
  std::array<int, 10> values{};
  std::array<int, 10> depths{};
};

bool columns_blank(const std::string& record, int first, int last) {
  for (int column = first; column <= last; ++column) {
    if (record[static_cast<std::size_t>(column - 1)] != ' ') return false;
  }
  return true;
}

// Measurement record ("mr"), 80 columns:
//   variant A: 1-8 id, 9-12 year;  B (minus in column 8): 1-7 id, 8-12 year;
//   C (minus in column 7): 1-6 id, 7-12 year;
//   all variants: ten values of width 6 in columns 13-72.
// False when a field does not read as an integer: the line is then a text record.
bool parse_measurement_record(const std::string& record, DecadeRecord* r) {
  int id_width = 8;
  if (record[7] == '-') {
    id_width = 7;
  } else if (record[6] == '-') {
    id_width = 6;
  }
  if (!read_int_field(record, id_width + 1, 12, &r->year)) return false;
  for (int k = 0; k < 10; ++k) {
    const int first = 13 + 6 * k;
    if (!read_int_field(record, first, first + 5, &r->values[static_cast<std::size_t>(k)])) {
      return false;
    }
  }
  r->id.assign(record, 0, static_cast<std::size_t>(id_width));
  r->id.resize(8, ' ');
  return true;
}

// Index record ("ir"), 80 columns:
//   variant A: 1-6 id, 7-10 year;  B (minus in column 6): 1-5 id, 6-10 year;
//   C (minus in column 5): 1-4 id, 5-10 year;
//   all variants: ten pairs, pair k (k = 1..10) a value of width 4 in columns
//   11+7(k-1) to 14+7(k-1) and a sample depth of width 3 in columns 15+7(k-1) to 17+7(k-1).
bool parse_index_record(const std::string& record, DecadeRecord* r) {
  int id_width = 6;
  if (record[5] == '-') {
    id_width = 5;
  } else if (record[4] == '-') {
    id_width = 4;
  }
  if (!read_int_field(record, id_width + 1, 10, &r->year)) return false;
  for (int k = 0; k < 10; ++k) {
    const int first = 11 + 7 * k;
    const auto slot = static_cast<std::size_t>(k);
    if (!read_int_field(record, first, first + 3, &r->values[slot]) ||
        !read_int_field(record, first + 4, first + 6, &r->depths[slot])) {
      return false;
    }
  }
  // Characters 7 and 8 of the id are blank in every variant.
  r->id.assign(record, 0, static_cast<std::size_t>(id_width));
  r->id.resize(8, ' ');
  return true;
}

// The console shows control characters of a damaged file as '?', so that no escape
// sequence reaches the terminal.
std::string echo_text(const std::string& record) {
  std::string shown = record;
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return shown;
}

// Two ids name the same series when they agree on the characters both variants hold.
bool same_series_id(const std::string& a, const std::string& b) {
  const std::string ta = trim_right(a);
  const std::string tb = trim_right(b);
  const std::size_t n = std::min(ta.size(), tb.size());
  return ta.compare(0, n, tb, 0, n) == 0 && (ta.size() == tb.size() || n >= 4);
}

class SeriesReader {
 public:
  SeriesReader(LineReader& in, TrrwMode mode, int max_length, TrrwSeries* series, TrrwText* text,
               std::ostream& console, DroppedSeries* dropped, ReadReport* report)
      : in_(in),
        index_mode_(mode == TrrwMode::kIndexRead),
        limit_(std::max(max_length, 0)),
        series_(series),
        text_(text),
        console_(console),
        dropped_(dropped),
        report_(report) {}

  TrrwStatus read(int* series_counter);

 private:
  TrrwStatus end_of_file(int* series_counter);
  TrrwStatus complete() const {
    return series_->count > limit_ ? TrrwStatus::kSeriesTooLong : TrrwStatus::kSeries;
  }
  TrrwStatus free_format_series(int* series_counter);
  // False when the limit of text records is passed.
  bool text_record(const std::string& record);
  void store(float value, int depth);
  void note(ReadAnomalyKind kind, int year, int expected_year, int value);
  // Notes a record after the first whose year does not continue the series.
  void check_year(const DecadeRecord& r);
  // Takes the values of one measurement record; true when its end marker came.
  bool measurement_values(const DecadeRecord& r);
  // Takes the values of one index record; fillers are held back until a value follows.
  void index_values(const DecadeRecord& r);
  // Mode "ir", after a record that ended in fillers: true when the next line continues the
  // series (it is then in *r); otherwise the line is stepped back.
  bool continues(DecadeRecord* r);

  LineReader& in_;
  const bool index_mode_;
  const int limit_;
  TrrwSeries* series_;
  TrrwText* text_;
  std::ostream& console_;
  DroppedSeries* dropped_;
  ReadReport* report_;

  bool keep_depths_ = true;
  int text_records_ = 0;
  int data_records_ = 0;
  int first_line_ = 0;
  int expected_year_ = 0;  // year the next record of the series should carry
  int pending_fillers_ = 0;
  // The first 80 columns of line_, blank padded, in a buffer kept between lines.
  const std::string& columns_of_line() {
    record_.assign(line_, 0, kRecordColumns);
    record_.resize(kRecordColumns, ' ');
    return record_;
  }

  std::string line_;
  std::string record_;
};

TrrwStatus SeriesReader::read(int* series_counter) {
  // A caller passes an id beginning with "******" to read index values without depths.
  keep_depths_ = series_->id.compare(0, 6, "******") != 0;
  text_->title.assign(kStoredTextColumns, ' ');
  if (dropped_ != nullptr) *dropped_ = DroppedSeries{};
  series_->count = 0;
  series_->values.clear();
  series_->depths.clear();
  *series_counter = std::max(*series_counter, 0) + 1;
  if (*series_counter == 1) {
    for (std::string& header : text_->header_lines) header.assign(kStoredTextColumns, ' ');
  }

  DecadeRecord r;
  bool have_record = false;  // a continuing record already read by continues()
  for (;;) {
    if (!have_record) {
      if (!in_.next(&line_)) return end_of_file(series_counter);
      const std::string& record = columns_of_line();
      if (series_->count == 0 && record[kRecordColumns - 1] == '#') {
        return free_format_series(series_counter);
      }
      if (index_mode_ ? columns_blank(record, 7, 10) : columns_blank(record, 9, 12)) continue;
      const bool is_record =
          index_mode_ ? parse_index_record(record, &r) : parse_measurement_record(record, &r);
      if (!is_record) {
        if (!text_record(record)) return TrrwStatus::kTooManyTextLines;
        continue;
      }
    }
    have_record = false;

    ++data_records_;
    if (data_records_ == 1) {
      series_->id = r.id;
      series_->first_year = r.year;
      first_line_ = in_.line_number();
      series_->first_line = first_line_;
    } else {
      check_year(r);
    }
    if (!index_mode_) {
      if (measurement_values(r)) return complete();
      continue;
    }
    index_values(r);
    // Fillers after the last value end the series unless the next record continues it.
    if (pending_fillers_ > 0) {
      if (!continues(&r)) return complete();
      have_record = true;
    }
  }
}

TrrwStatus SeriesReader::end_of_file(int* series_counter) {
  // Only a series closed by its end marker (or, in mode "ir", by fillers) is returned.
  if (data_records_ > 0 && dropped_ != nullptr) {
    dropped_->id = series_->id;
    dropped_->first_year = series_->first_year;
    dropped_->line_number = first_line_;
    dropped_->count = series_->count;
  }
  series_->count = kEndOfFileCount;
  *series_counter = kEndOfFileCount;
  series_->values.clear();
  series_->depths.clear();
  return TrrwStatus::kEndOfFile;
}

TrrwStatus SeriesReader::free_format_series(int* series_counter) {
  const int line_number = in_.line_number();
  in_.step_back();
  std::string buffer = record_columns(line_, kRecordColumns);
  int count = 0;
  int first_year = 0;
  const DatarStatus status =
      datar(in_, limit_, &buffer, &count, &series_->values, &first_year, console_);
  series_->id = buffer.substr(0, 8);
  if (status == DatarStatus::kEndOfFile) {
    // The series' count line never came: nothing of it can be used.
    if (dropped_ != nullptr) {
      dropped_->id = series_->id;
      dropped_->first_year = 0;
      dropped_->line_number = line_number;
      dropped_->count = 0;
    }
    series_->count = kEndOfFileCount;
    *series_counter = kEndOfFileCount;
    series_->values.clear();
    return TrrwStatus::kEndOfFile;
  }
  series_->first_year = first_year;
  series_->count = count;
  return complete();
}

bool SeriesReader::text_record(const std::string& record) {
  ++text_records_;
  if (text_records_ > kMaxTextRecords) {
    console_ << " sbr trrw:  over 25 text lines\n";
    return false;
  }
  const std::string stored = record_columns(record, kStoredTextColumns);
  if (text_records_ == 1) {
    console_ << "\n title of data:\n " << echo_text(record) << '\n';
    text_->title = stored;
    text_->header_lines[0] = stored;
  } else {
    console_ << ' ' << echo_text(record) << '\n';
    if (text_records_ <= 3) {
      text_->header_lines[static_cast<std::size_t>(text_records_ - 1)] = stored;
    }
  }
  return true;
}

void SeriesReader::store(float value, int depth) {
  ++series_->count;
  // Past the limit the series is only counted, so that the caller can name its extent.
  if (series_->count > limit_) return;
  series_->values.push_back(value);
  if (index_mode_) series_->depths.push_back(depth);
}

void SeriesReader::note(ReadAnomalyKind kind, int year, int expected_year, int value) {
  if (report_ == nullptr) return;
  ReadAnomaly anomaly;
  anomaly.kind = kind;
  anomaly.line_number = in_.line_number();
  anomaly.id = series_->id;
  anomaly.year = year;
  anomaly.expected_year = expected_year;
  anomaly.value = value;
  report_->anomalies.push_back(anomaly);
}

void SeriesReader::check_year(const DecadeRecord& r) {
  if (r.year != expected_year_) note(ReadAnomalyKind::kYearBreak, r.year, expected_year_, 0);
}

bool SeriesReader::measurement_values(const DecadeRecord& r) {
  const int slots = data_records_ == 1 ? first_record_values(r.year) : 10;
  for (int k = 0; k < slots; ++k) {
    const int field = r.values[static_cast<std::size_t>(k)];
    if (field == kEndMarkerThousandths) {
      // The series is in units of 0.001 mm.
      for (float& v : series_->values) v *= 0.1f;
      return true;
    }
    if (field == kEndMarker) return true;
    if (field < 0) note(ReadAnomalyKind::kNegativeValue, r.year + k, 0, field);
    if (field == kFiller) note(ReadAnomalyKind::kFillerValue, r.year + k, 0, field);
    store(static_cast<float>(field) * 0.01f, 0);
  }
  expected_year_ = r.year + slots;
  return false;
}

void SeriesReader::index_values(const DecadeRecord& r) {
  const int first_slot = data_records_ == 1 ? first_index_slot(r.year) : 1;
  for (int slot = first_slot; slot <= 10; ++slot) {
    const auto k = static_cast<std::size_t>(slot - 1);
    const int field = r.values[k];
    if (field > kLargestIndexValue) {
      ++pending_fillers_;
      continue;
    }
    // Fillers followed by a value stand for years without a value.
    for (; pending_fillers_ > 0; --pending_fillers_) store(kMissing, 0);
    store(static_cast<float>(field) * 0.001f, keep_depths_ ? r.depths[k] : 0);
  }
  expected_year_ = r.year + (11 - first_slot);
}

bool SeriesReader::continues(DecadeRecord* r) {
  if (!in_.next(&line_)) {
    // Fillers ended the series right before the end of the file.
    return false;
  }
  const std::string& record = columns_of_line();
  DecadeRecord next;
  if (!columns_blank(record, 7, 10) && parse_index_record(record, &next) &&
      next.year == expected_year_ && same_series_id(next.id, series_->id)) {
    *r = next;
    return true;
  }
  in_.step_back();
  return false;
}

}  // namespace

std::string describe(const ReadAnomaly& anomaly) {
  std::string text = " Warning: line " + std::to_string(anomaly.line_number) + ", series \"" +
                     trim_right(anomaly.id) + "\": ";
  switch (anomaly.kind) {
    case ReadAnomalyKind::kYearBreak:
      text += "the record's year " + std::to_string(anomaly.year) +
              " does not continue the series (" + std::to_string(anomaly.expected_year) +
              " expected)";
      break;
    case ReadAnomalyKind::kNegativeValue:
      text += "negative value " + std::to_string(anomaly.value) + " in year " +
              std::to_string(anomaly.year) + ", kept as read";
      break;
    case ReadAnomalyKind::kFillerValue:
      text += "filler value " + std::to_string(anomaly.value) + " in year " +
              std::to_string(anomaly.year) + " of a measurement series, kept as read";
      break;
  }
  return text;
}

TrrwStatus trrw_read(LineReader& in, TrrwMode mode, int max_length, TrrwSeries* series,
                     int* series_counter, TrrwText* text, std::ostream& console,
                     DroppedSeries* dropped, ReadReport* report) {
  SeriesReader reader(in, mode, max_length, series, text, console, dropped, report);
  return reader.read(series_counter);
}

}  // namespace kvr
