#include "data/trrw.h"

#include <algorithm>
#include <array>
#include <deque>
#include <ostream>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "common/utf8.h"
#include "data/column_view.h"
#include "data/datar.h"
#include "data/decade_format.h"
#include "data/measurement_record.h"

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

// Two ids name the same series when they agree on the characters both variants hold
// (mode "ir"; its ids are compared without their trailing blanks).
bool same_series_id(const std::string& a, const std::string& b) {
  const std::string ta = trim_right(a);
  const std::string tb = trim_right(b);
  const std::size_t n = std::min(ta.size(), tb.size());
  return ta.compare(0, n, tb, 0, n) == 0 && (ta.size() == tb.size() || n >= 4);
}

// Bytes of the first `characters` characters of an id: characters of UTF-8 when the id is
// UTF-8 with multi-byte characters (read by characters), bytes otherwise.
std::size_t id_prefix(const std::string& id, std::size_t characters) {
  if (has_non_ascii(id) && is_valid_utf8(id)) return utf8_prefix_bytes(id, characters);
  return std::min(characters, id.size());
}

// Two measurement records name the same series when their ids agree on the columns both
// variants hold.
bool same_id(const IdAndYear& a, const IdAndYear& b) {
  const auto n = static_cast<std::size_t>(std::min(a.id_width, b.id_width));
  // Eight bytes are eight columns: no multi-byte character.
  if (a.id.size() == 8 && b.id.size() == 8) return a.id.compare(0, n, b.id, 0, n) == 0;
  const std::size_t na = id_prefix(a.id, n);
  const std::size_t nb = id_prefix(b.id, n);
  return a.id.compare(0, na, b.id, 0, nb) == 0;
}

// True when a slot from..slots-1 of `r` holds a measurement or the end marker -9999: what
// makes a 999 before it no end marker. Missing codes, blanks and other 999s do not count.
bool holds_measurement(const MeasurementRecord& r, int from, int slots) {
  for (int k = from; k < slots; ++k) {
    if ((r.bad_fields & (1u << k)) != 0) continue;
    const int v = r.values[static_cast<std::size_t>(k)];
    if ((v > 0 && v != kEndMarker) || v == kEndMarkerThousandths) return true;
  }
  return false;
}

int slots_of(const MeasurementRecord& r) { return first_record_values(r.reading.year); }

// Records held back while looking for a measurement after a 999: more than a series can
// hold means the series ends there.
constexpr std::size_t kMaxHeldRecords = kMaxPositions / 10 + 2;

// How a record relates to the series being read.
enum class Relation {
  kContinues,  // its year is the next one of the series
  kGap,        // same id, a later year: the years between are missing
  kEnds,       // an earlier year, or another id: the series ended before it
};

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
  TrrwStatus read_index_series(int* series_counter);
  TrrwStatus read_measurement_series(int* series_counter);
  TrrwStatus end_of_file(int* series_counter);
  TrrwStatus complete() const {
    return series_->count > limit_ ? TrrwStatus::kSeriesTooLong : TrrwStatus::kSeries;
  }
  TrrwStatus free_format_series(int* series_counter);
  // False when the limit of text records is passed.
  bool text_record(const std::string& record);
  void store(float value, int depth);
  void note(const ReadAnomaly& anomaly);
  ReadAnomaly anomaly(ReadAnomalyKind kind, int line_number, int year) const;

  // Mode "mr".
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
  // After a 999 or an end marker in the record before `expected` (the year the next record
  // of the series should carry): reads on through the following records of the series (its
  // id, later years) and holds them back. True when one of them holds a measurement (the last
  // one held). Otherwise the records held hold only missing values, and the line that ended
  // the search is stepped back.
  bool measurement_follows(int expected);
  // Passes over the records held back after the end marker on line `marker_line`.
  void pass_over_held(int marker_line);
  void end_at_marker(EndMarker marker);
  // Removes the values of the blank fields that end the series read so far.
  void drop_trailing_blanks();
  void end_without_marker(const MeasurementRecord& r, int expected);
  void note_missing_codes();

  // Mode "ir".
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

  // Mode "mr": the series being read.
  IdAndYear series_reading_;  // its id and the widths it is compared on
  bool series_as_a_ = false;  // its id runs into the year: read as 8 + 4
  bool noted_as_a_ = false;
  bool noted_characters_ = false;
  int last_record_line_ = 0;
  int trailing_blanks_ = 0;         // values of blank fields at the end of the series read so far
  std::vector<int> missing_codes_;  // codes met, in order of appearance
  int missing_count_ = 0;
  int missing_year_ = 0;
  int missing_line_ = 0;
  std::vector<int> open_999_;  // positions (from 0) of 999 fields that measurements follow
  ReadAnomaly open_999_note_;
  std::deque<MeasurementRecord> held_;  // records read ahead, in file order
  ColumnView view_;

  // The first 80 columns of line_, blank padded, in a buffer kept between lines (mode "ir").
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
  series_->end_marker = EndMarker::kNone;
  series_->open_999.clear();
  series_->open_999_note = ReadAnomaly{};
  series_->ending = ReadAnomaly{};
  *series_counter = std::max(*series_counter, 0) + 1;
  if (*series_counter == 1) {
    for (std::string& header : text_->header_lines) header.assign(kStoredTextColumns, ' ');
  }
  return index_mode_ ? read_index_series(series_counter) : read_measurement_series(series_counter);
}

TrrwStatus SeriesReader::read_index_series(int* series_counter) {
  DecadeRecord r;
  bool have_record = false;  // a continuing record already read by continues()
  for (;;) {
    if (!have_record) {
      if (!in_.next(&line_)) return end_of_file(series_counter);
      const std::string& record = columns_of_line();
      if (series_->count == 0 && record[kRecordColumns - 1] == '#') {
        return free_format_series(series_counter);
      }
      if (columns_blank(record, 7, 10)) continue;
      if (!parse_index_record(record, &r)) {
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
    }
    index_values(r);
    // Fillers after the last value end the series unless the next record continues it.
    if (pending_fillers_ > 0) {
      if (!continues(&r)) return complete();
      have_record = true;
    }
  }
}

SeriesReader::Item SeriesReader::next_item(MeasurementRecord* r) {
  if (!held_.empty()) {
    *r = std::move(held_.front());
    held_.pop_front();
    return Item::kRecord;
  }
  for (;;) {
    if (!in_.next(&line_)) return Item::kEnd;
    view_.assign(line_);
    if (series_->count == 0 && view_.columns()[kRecordColumns - 1] == '#') {
      return Item::kFreeFormat;
    }
    const LineKind kind = read_measurement_record(view_, r);
    if (kind == LineKind::kSkip) continue;
    if (kind == LineKind::kText) return Item::kText;
    r->line_number = in_.line_number();
    return Item::kRecord;
  }
}

TrrwStatus SeriesReader::read_measurement_series(int* series_counter) {
  MeasurementRecord r;
  for (;;) {
    const Item item = next_item(&r);
    if (item == Item::kEnd) return end_of_file(series_counter);
    if (item == Item::kFreeFormat) return free_format_series(series_counter);
    if (item == Item::kText) {
      if (data_records_ > 0) {
        note(anomaly(ReadAnomalyKind::kRecordNotRead, in_.line_number(), expected_year_));
      }
      if (!text_record(view_.text(1, kRecordColumns))) return TrrwStatus::kTooManyTextLines;
      continue;
    }
    Relation relation = Relation::kContinues;
    if (data_records_ == 0) {
      // A record with a field that is no number starts no series: a text record.
      if (r.bad_fields != 0) {
        if (!text_record(r.text)) return TrrwStatus::kTooManyTextLines;
        continue;
      }
      choose_first_reading(&r);
      start_series(r);
    } else {
      bool alternative = false;
      relation = relation_to_series(r, expected_year_, &alternative);
      // Blank fields at the end of the last record are no values when the series does not
      // go on right after them.
      if (relation != Relation::kContinues && trailing_blanks_ > 0) {
        drop_trailing_blanks();
        relation = relation_to_series(r, expected_year_, &alternative);
      }
      // One field that is no number is missing in a record that continues the series;
      // anything else that does not read is a text record.
      if (r.bad_fields != 0 &&
          (relation != Relation::kContinues || bad_field_count(r.bad_fields) != 1)) {
        note(anomaly(ReadAnomalyKind::kRecordNotRead, r.line_number, expected_year_));
        if (!text_record(r.text)) return TrrwStatus::kTooManyTextLines;
        continue;
      }
      if (relation == Relation::kEnds) {
        // Records held back all continue the series, so this one came from the file.
        in_.step_back();
        end_without_marker(r, expected_year_);
        return complete();
      }
      if (alternative) take_alternative(&r);
    }
    ++data_records_;
    note_record(r, relation);
    if (relation == Relation::kGap) {
      for (int year = expected_year_; year < r.reading.year; ++year) store(kMissing, 0);
    }
    if (take_values(r)) return complete();
  }
}

void SeriesReader::take_alternative(MeasurementRecord* r) {
  r->reading = r->alternative;
  r->has_alternative = false;
  r->read_as_a = true;
}

void SeriesReader::choose_first_reading(MeasurementRecord* r) {
  if (!r->has_alternative) return;
  if (!in_.next(&line_)) return;
  view_.assign(line_);
  MeasurementRecord next;
  const bool is_record = read_measurement_record(view_, &next) == LineKind::kRecord;
  in_.step_back();
  if (!is_record) return;
  // The next record's 8 + 4 reading: its alternative, or itself when it is variant A.
  const IdAndYear* next_a = next.has_alternative ? &next.alternative : nullptr;
  if (next_a == nullptr && next.reading.id_width == 8) next_a = &next.reading;
  const auto goes_on = [](const IdAndYear& first, const IdAndYear* second) {
    return second != nullptr && same_id(first, *second) &&
           second->year == first.year + first_record_values(first.year);
  };
  if (!goes_on(r->reading, &next.reading) && goes_on(r->alternative, next_a)) {
    take_alternative(r);
  }
}

void SeriesReader::start_series(const MeasurementRecord& r) {
  series_reading_ = r.reading;
  series_as_a_ = r.read_as_a;
  series_->id = r.reading.id;
  series_->first_year = r.reading.year;
  first_line_ = r.line_number;
  series_->first_line = first_line_;
  expected_year_ = r.reading.year;
}

Relation SeriesReader::relation_to_series(const MeasurementRecord& r, int expected,
                                          bool* alternative) const {
  // A series read as 8 + 4 tries that reading first.
  const IdAndYear* first = &r.reading;
  const IdAndYear* second = r.has_alternative ? &r.alternative : nullptr;
  if (series_as_a_ && second != nullptr) std::swap(first, second);
  *alternative = false;
  if (same_id(series_reading_, *first) && first->year == expected) {
    *alternative = first == &r.alternative;
    return Relation::kContinues;
  }
  if (second != nullptr && same_id(series_reading_, *second) && second->year == expected) {
    *alternative = second == &r.alternative;
    return Relation::kContinues;
  }
  if (same_id(series_reading_, *first) && first->year > expected) {
    *alternative = first == &r.alternative;
    return Relation::kGap;
  }
  // Another id whose year continues the series: records are taken by their years.
  if (r.reading.year == expected) return Relation::kContinues;
  return Relation::kEnds;
}

void SeriesReader::note_record(const MeasurementRecord& r, Relation relation) {
  const int year = r.reading.year;
  if (relation == Relation::kGap) {
    ReadAnomaly a = anomaly(ReadAnomalyKind::kYearGap, r.line_number, year);
    a.expected_year = expected_year_;
    note(a);
  } else if (data_records_ > 1 && !same_id(series_reading_, r.reading)) {
    ReadAnomaly a = anomaly(ReadAnomalyKind::kOtherId, r.line_number, year);
    a.other_id = r.reading.id;
    note(a);
  }
  if (r.read_as_a && !noted_as_a_) {
    noted_as_a_ = true;
    series_as_a_ = true;
    ReadAnomaly a = anomaly(ReadAnomalyKind::kIdIntoYear, r.line_number, year);
    a.id = r.reading.id;
    note(a);
  }
  if (r.by_characters && !noted_characters_) {
    noted_characters_ = true;
    note(anomaly(ReadAnomalyKind::kByCharacters, r.line_number, year));
  }
  // Fields after an end marker are no part of the series.
  const int slots = slots_of(r);
  bool marker = false;
  for (int k = 0; k < slots; ++k) {
    const int v = r.values[static_cast<std::size_t>(k)];
    marker = marker || v == kEndMarker || v == kEndMarkerThousandths;
  }
  for (int k = slots; k < 10 && !marker; ++k) {
    if (r.values[static_cast<std::size_t>(k)] != 0) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kBeyondSlots, r.line_number, year);
      a.count = slots;
      note(a);
      break;
    }
  }
  if (r.alignment == ValueAlignment::kSplit) {
    note(anomaly(ReadAnomalyKind::kShiftedValues, r.line_number, year));
  } else if (r.alignment == ValueAlignment::kUnsplit) {
    note(anomaly(ReadAnomalyKind::kUnalignedValues, r.line_number, year));
  }
}

bool SeriesReader::take_values(const MeasurementRecord& r) {
  const int year = r.reading.year;
  const int slots = slots_of(r);
  for (int k = 0; k < slots; ++k) {
    const int field = r.values[static_cast<std::size_t>(k)];
    if ((r.bad_fields & (1u << k)) != 0) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kFieldNoNumber, r.line_number, year + k);
      a.count = k + 1;
      note(a);
      store(kMissing, 0);
      continue;
    }
    if (field == kEndMarkerThousandths) {
      end_at_marker(EndMarker::kThousandths);
      // Records of only missing values may follow; a record with measurements starts the
      // next series. (Nothing is held back here: a held record with -9999 is the last one
      // held, so the record found came from the file.)
      if (measurement_follows(year + slots)) {
        held_.pop_back();
        in_.step_back();
      }
      pass_over_held(r.line_number);
      return true;
    }
    if (field == kEndMarker) {
      if (holds_measurement(r, k + 1, slots) || measurement_follows(year + slots)) {
        if (open_999_.empty()) {
          open_999_note_ = anomaly(ReadAnomalyKind::kNotEndMarker, r.line_number, year + k);
        }
        ++open_999_note_.count;
        if (series_->count < limit_) open_999_.push_back(series_->count);
        store(static_cast<float>(field) * 0.01f, 0);
        continue;
      }
      pass_over_held(r.line_number);
      end_at_marker(EndMarker::kHundredths);
      return true;
    }
    if (field < 0) {
      if (missing_count_ == 0) {
        missing_year_ = year + k;
        missing_line_ = r.line_number;
      }
      ++missing_count_;
      if (std::find(missing_codes_.begin(), missing_codes_.end(), field) == missing_codes_.end()) {
        missing_codes_.push_back(field);
      }
      store(kMissing, 0);
      continue;
    }
    if (field == kFiller) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kFillerValue, r.line_number, year + k);
      a.value = field;
      note(a);
    }
    store(static_cast<float>(field) * 0.01f, 0);
  }
  expected_year_ = year + slots;
  last_record_line_ = r.line_number;
  int blanks = 0;
  while (blanks < slots && (r.blank_fields & (1u << (slots - 1 - blanks))) != 0) ++blanks;
  trailing_blanks_ = blanks == slots ? trailing_blanks_ + blanks : blanks;
  return false;
}

void SeriesReader::drop_trailing_blanks() {
  series_->count -= trailing_blanks_;
  if (static_cast<int>(series_->values.size()) > series_->count) {
    series_->values.resize(static_cast<std::size_t>(series_->count));
  }
  expected_year_ -= trailing_blanks_;
  trailing_blanks_ = 0;
}

bool SeriesReader::measurement_follows(int expected) {
  for (const MeasurementRecord& held : held_) {
    if (holds_measurement(held, 0, slots_of(held))) return true;
    expected = held.reading.year + slots_of(held);
  }
  MeasurementRecord r;
  for (;;) {
    if (held_.size() >= kMaxHeldRecords) return false;
    if (!in_.next(&line_)) return false;
    view_.assign(line_);
    const LineKind kind = read_measurement_record(view_, &r);
    if (kind == LineKind::kSkip) continue;
    bool alternative = false;
    if (kind == LineKind::kText || r.bad_fields != 0 ||
        relation_to_series(r, expected, &alternative) == Relation::kEnds ||
        !same_id(series_reading_, alternative ? r.alternative : r.reading)) {
      in_.step_back();
      return false;
    }
    if (alternative) take_alternative(&r);
    r.line_number = in_.line_number();
    const bool measured = holds_measurement(r, 0, slots_of(r));
    expected = r.reading.year + slots_of(r);
    held_.push_back(std::move(r));
    if (measured) return true;
  }
}

void SeriesReader::pass_over_held(int marker_line) {
  if (held_.empty()) return;
  ReadAnomaly a =
      anomaly(ReadAnomalyKind::kPassedOver, held_.front().line_number, held_.front().reading.year);
  a.count = static_cast<int>(held_.size());
  a.other_line = marker_line;
  a.last_line = held_.back().line_number;
  note(a);
  held_.clear();
}

void SeriesReader::end_at_marker(EndMarker marker) {
  series_->end_marker = marker;
  if (marker == EndMarker::kThousandths) {
    // The series is in units of 0.001 mm.
    for (float& v : series_->values) {
      if (!is_missing(v)) v *= 0.1f;
    }
  }
  if (!open_999_.empty()) {
    if (marker == EndMarker::kHundredths) {
      for (const int at : open_999_) series_->values[static_cast<std::size_t>(at)] = kMissing;
    }
    open_999_note_.units = marker == EndMarker::kThousandths ? 1000 : 100;
    note(open_999_note_);
  }
  note_missing_codes();
}

void SeriesReader::end_without_marker(const MeasurementRecord& r, int expected) {
  // The units, and with them what its 999s are, wait for the file's other series.
  series_->end_marker = EndMarker::kLost;
  series_->open_999 = open_999_;
  if (!open_999_.empty()) series_->open_999_note = open_999_note_;
  const bool same = same_id(series_reading_, r.reading);
  ReadAnomaly a = anomaly(same ? ReadAnomalyKind::kYearBack : ReadAnomalyKind::kLostEndMarker,
                          r.line_number, r.reading.year);
  a.expected_year = expected;
  a.last_year = expected - 1;
  a.other_line = last_record_line_;
  a.other_id = r.reading.id;
  series_->ending = a;
  note_missing_codes();
}

void SeriesReader::note_missing_codes() {
  if (missing_count_ == 0) return;
  ReadAnomaly a = anomaly(ReadAnomalyKind::kMissingCodes, missing_line_, missing_year_);
  a.count = missing_count_;
  a.codes = missing_codes_;
  note(a);
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
  const std::string stored = pad_right(record, kStoredTextColumns);
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

ReadAnomaly SeriesReader::anomaly(ReadAnomalyKind kind, int line_number, int year) const {
  ReadAnomaly a;
  a.kind = kind;
  a.line_number = line_number;
  a.id = series_->id;
  a.year = year;
  return a;
}

void SeriesReader::note(const ReadAnomaly& anomaly) {
  if (report_ != nullptr) report_->anomalies.push_back(anomaly);
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

TrrwStatus trrw_read(LineReader& in, TrrwMode mode, int max_length, TrrwSeries* series,
                     int* series_counter, TrrwText* text, std::ostream& console,
                     DroppedSeries* dropped, ReadReport* report) {
  SeriesReader reader(in, mode, max_length, series, text, console, dropped, report);
  return reader.read(series_counter);
}

}  // namespace kvr
