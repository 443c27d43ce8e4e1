#include "formats/measurement_series_reader.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "formats/column_view.h"
#include "formats/decade_format.h"
#include "formats/measurement_record.h"

namespace kvr {
namespace {

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

class MeasurementSeriesReader {
 public:
  explicit MeasurementSeriesReader(SeriesReadCall& call)
      : call_(call), in_(call.in()), series_(call.series()) {}

  TrrwStatus read();

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
  ReadAnomaly anomaly(ReadAnomalyKind kind, int line_number, int year) const {
    return call_.anomaly(kind, line_number, year);
  }
  void note(const ReadAnomaly& a) { call_.note(a); }

  SeriesReadCall& call_;
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
  std::vector<int> missing_codes_;  // codes met, in order of appearance
  int missing_count_ = 0;
  int missing_year_ = 0;
  int missing_line_ = 0;
  std::vector<int> open_999_;  // positions (from 0) of 999 fields that measurements follow
  ReadAnomaly open_999_note_;
  std::deque<MeasurementRecord> held_;  // records read ahead, in file order
  ColumnView view_;
  std::string line_;
};

MeasurementSeriesReader::Item MeasurementSeriesReader::next_item(MeasurementRecord* r) {
  if (!held_.empty()) {
    *r = std::move(held_.front());
    held_.pop_front();
    return Item::kRecord;
  }
  for (;;) {
    if (!in_.next(&line_)) return Item::kEnd;
    view_.assign(line_);
    if (series_.count == 0 && view_.columns()[SeriesReadCall::kRecordColumns - 1] == '#') {
      return Item::kFreeFormat;
    }
    const LineKind kind = read_measurement_record(view_, r);
    if (kind == LineKind::kSkip) continue;
    if (kind == LineKind::kText) return Item::kText;
    r->line_number = in_.line_number();
    return Item::kRecord;
  }
}

TrrwStatus MeasurementSeriesReader::read() {
  MeasurementRecord r;
  for (;;) {
    const Item item = next_item(&r);
    if (item == Item::kEnd) return call_.end_of_file(records_ > 0);
    if (item == Item::kFreeFormat) return call_.free_format_series(line_);
    if (item == Item::kText) {
      if (records_ > 0) {
        note(anomaly(ReadAnomalyKind::kRecordNotRead, in_.line_number(), expected_year_));
      }
      if (!call_.text_record(view_.text(1, SeriesReadCall::kRecordColumns))) {
        return TrrwStatus::kTooManyTextLines;
      }
      continue;
    }
    Relation relation = Relation::kContinues;
    if (records_ == 0) {
      // A record with a field that is no number starts no series: a text record.
      if (r.bad_fields != 0) {
        if (!call_.text_record(r.text)) return TrrwStatus::kTooManyTextLines;
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
        if (!call_.text_record(r.text)) return TrrwStatus::kTooManyTextLines;
        continue;
      }
      if (relation == Relation::kEnds) {
        // Records held back all continue the series, so this one came from the file.
        in_.step_back();
        end_without_marker(r, expected_year_);
        return call_.complete();
      }
      if (alternative) take_alternative(&r);
    }
    ++records_;
    note_record(r, relation);
    if (relation == Relation::kGap) {
      for (int year = expected_year_; year < r.reading.year; ++year) call_.store(kMissing, 0);
    }
    if (take_values(r)) return call_.complete();
  }
}

void MeasurementSeriesReader::take_alternative(MeasurementRecord* r) {
  r->reading = r->alternative;
  r->has_alternative = false;
  r->read_as_a = true;
}

void MeasurementSeriesReader::choose_first_reading(MeasurementRecord* r) {
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
    return second != nullptr && same_series_id(first, *second) &&
           second->year == first.year + first_record_values(first.year);
  };
  if (!goes_on(r->reading, &next.reading) && goes_on(r->alternative, next_a)) {
    take_alternative(r);
  }
}

void MeasurementSeriesReader::start_series(const MeasurementRecord& r) {
  series_reading_ = r.reading;
  series_as_a_ = r.read_as_a;
  series_.id = r.reading.id;
  series_.first_year = r.reading.year;
  series_.first_line = r.line_number;
  expected_year_ = r.reading.year;
}

Relation MeasurementSeriesReader::relation_to_series(const MeasurementRecord& r, int expected,
                                                     bool* alternative) const {
  // A series read as 8 + 4 tries that reading first.
  const IdAndYear* first = &r.reading;
  const IdAndYear* second = r.has_alternative ? &r.alternative : nullptr;
  if (series_as_a_ && second != nullptr) std::swap(first, second);
  *alternative = false;
  if (same_series_id(series_reading_, *first) && first->year == expected) {
    *alternative = first == &r.alternative;
    return Relation::kContinues;
  }
  if (second != nullptr && same_series_id(series_reading_, *second) && second->year == expected) {
    *alternative = second == &r.alternative;
    return Relation::kContinues;
  }
  if (same_series_id(series_reading_, *first) && first->year > expected) {
    *alternative = first == &r.alternative;
    return Relation::kGap;
  }
  // Another id whose year continues the series: records are taken by their years.
  if (r.reading.year == expected) return Relation::kContinues;
  return Relation::kEnds;
}

void MeasurementSeriesReader::note_record(const MeasurementRecord& r, Relation relation) {
  const int year = r.reading.year;
  if (relation == Relation::kGap) {
    ReadAnomaly a = anomaly(ReadAnomalyKind::kYearGap, r.line_number, year);
    a.expected_year = expected_year_;
    note(a);
  } else if (records_ > 1 && !same_series_id(series_reading_, r.reading)) {
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

bool MeasurementSeriesReader::take_values(const MeasurementRecord& r) {
  const int year = r.reading.year;
  const int slots = slots_of(r);
  for (int k = 0; k < slots; ++k) {
    const int field = r.values[static_cast<std::size_t>(k)];
    if ((r.bad_fields & (1u << k)) != 0) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kFieldNoNumber, r.line_number, year + k);
      a.count = k + 1;
      note(a);
      call_.store(kMissing, 0);
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
        if (series_.count < call_.limit()) open_999_.push_back(series_.count);
        call_.store(static_cast<float>(field) * 0.01f, 0);
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
      call_.store(kMissing, 0);
      continue;
    }
    if (field == kFiller) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kFillerValue, r.line_number, year + k);
      a.value = field;
      note(a);
    }
    call_.store(static_cast<float>(field) * 0.01f, 0);
  }
  expected_year_ = year + slots;
  last_record_line_ = r.line_number;
  int blanks = 0;
  while (blanks < slots && (r.blank_fields & (1u << (slots - 1 - blanks))) != 0) ++blanks;
  trailing_blanks_ = blanks == slots ? trailing_blanks_ + blanks : blanks;
  return false;
}

void MeasurementSeriesReader::drop_trailing_blanks() {
  series_.count -= trailing_blanks_;
  if (static_cast<int>(series_.values.size()) > series_.count) {
    series_.values.resize(static_cast<std::size_t>(series_.count));
  }
  expected_year_ -= trailing_blanks_;
  trailing_blanks_ = 0;
}

bool MeasurementSeriesReader::measurement_follows(int expected) {
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
        !same_series_id(series_reading_, alternative ? r.alternative : r.reading)) {
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

void MeasurementSeriesReader::pass_over_held(int marker_line) {
  if (held_.empty()) return;
  ReadAnomaly a =
      anomaly(ReadAnomalyKind::kPassedOver, held_.front().line_number, held_.front().reading.year);
  a.count = static_cast<int>(held_.size());
  a.other_line = marker_line;
  a.last_line = held_.back().line_number;
  note(a);
  held_.clear();
}

void MeasurementSeriesReader::end_at_marker(EndMarker marker) {
  series_.end_marker = marker;
  if (marker == EndMarker::kThousandths) {
    // The series is in units of 0.001 mm.
    for (float& v : series_.values) {
      if (!is_missing(v)) v *= 0.1f;
    }
  }
  if (!open_999_.empty()) {
    if (marker == EndMarker::kHundredths) {
      for (const int at : open_999_) series_.values[static_cast<std::size_t>(at)] = kMissing;
    }
    open_999_note_.units = marker == EndMarker::kThousandths ? 1000 : 100;
    note(open_999_note_);
  }
  note_missing_codes();
}

void MeasurementSeriesReader::end_without_marker(const MeasurementRecord& r, int expected) {
  // The units, and with them what its 999s are, wait for the file's other series.
  series_.end_marker = EndMarker::kLost;
  series_.open_999 = open_999_;
  if (!open_999_.empty()) series_.open_999_note = open_999_note_;
  const bool same = same_series_id(series_reading_, r.reading);
  ReadAnomaly a = anomaly(same ? ReadAnomalyKind::kYearBack : ReadAnomalyKind::kLostEndMarker,
                          r.line_number, r.reading.year);
  a.expected_year = expected;
  a.last_year = expected - 1;
  a.other_line = last_record_line_;
  a.other_id = r.reading.id;
  series_.ending = a;
  note_missing_codes();
}

void MeasurementSeriesReader::note_missing_codes() {
  if (missing_count_ == 0) return;
  ReadAnomaly a = anomaly(ReadAnomalyKind::kMissingCodes, missing_line_, missing_year_);
  a.count = missing_count_;
  a.codes = missing_codes_;
  note(a);
}

}  // namespace

TrrwStatus read_measurement_series(SeriesReadCall& call) {
  return MeasurementSeriesReader(call).read();
}

}  // namespace kvr
