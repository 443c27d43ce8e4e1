#include <algorithm>
#include <array>
#include <utility>

#include "common/dimensions.h"
#include "formats/measurement_series_reader.h"

namespace kvr {
namespace {

// Records held back while looking for a measurement after an end marker: more than a series
// can hold means the series ends there.
constexpr std::size_t kMaxHeldRecords = kMaxPositions / 10 + 2;

}  // namespace

bool MeasurementSeriesReader::take_values(const MeasurementRecord& r) {
  const int year = r.reading.year;
  const int slots = slots_of(r);
  for (int k = 0; k < slots; ++k) {
    const int field = r.values[static_cast<std::size_t>(k)];
    if ((r.bad_fields & (1u << k)) != 0) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kFieldNoNumber, r.line_number, year + k);
      a.count = k + 1;
      note(a);
      builder_.store(kMissingField);
      continue;
    }
    if ((r.cut_markers & (1u << k)) != 0) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kCutMarker, r.line_number, year + k);
      a.count = k + 1;
      a.value = field;
      note(a);
      builder_.store(kMissingField);
      continue;
    }
    if ((r.not_a_number_fields & (1u << k)) != 0) {
      count_value(&not_a_number_note_, ReadAnomalyKind::kNotANumber, r, year + k);
      not_a_number_note_.value |= static_cast<int>(r.not_a_number_forms);
      builder_.store(kMissingField);
      continue;
    }
    if (field == kEndMarkerThousandths || field == kEndMarker) {
      if (marker_ends_series(r, k, field)) {
        end_series(r, field);
        return true;
      }
      if (field == kEndMarkerThousandths) {
        count_value(&inner_marker_note_, ReadAnomalyKind::kMarkerInSeries, r, year + k);
        builder_.store(kMissingField);
      } else {
        count_value(&open_999_note_, ReadAnomalyKind::kNotEndMarker, r, year + k);
        if (series_.count < builder_.limit()) open_999_.push_back(series_.count);
        builder_.store(field);
      }
      continue;
    }
    if (field < 0) {
      count_value(&missing_codes_note_, ReadAnomalyKind::kMissingCodes, r, year + k);
      std::vector<int>& codes = missing_codes_note_.codes;
      if (std::find(codes.begin(), codes.end(), field) == codes.end()) codes.push_back(field);
      builder_.store(kMissingField);
      continue;
    }
    if (field == kFiller) {
      ReadAnomaly a = anomaly(ReadAnomalyKind::kFillerValue, r.line_number, year + k);
      a.value = field;
      note(a);
    }
    builder_.store(field);
  }
  // An end marker right after the tenth value of a full record, where the record has no field.
  if (r.eleventh_marker != 0 && slots == 10 && (r.blank_fields & (1u << 9)) == 0 &&
      marker_ends_series(r, slots, r.eleventh_marker)) {
    ReadAnomaly a = anomaly(ReadAnomalyKind::kEleventhField, r.line_number, year + slots);
    a.value = r.eleventh_marker;
    note(a);
    end_series(r, r.eleventh_marker);
    return true;
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
  if (static_cast<int>(series_.fields.size()) > series_.count) {
    series_.fields.resize(static_cast<std::size_t>(series_.count));
  }
  expected_year_ -= trailing_blanks_;
  trailing_blanks_ = 0;
}

bool MeasurementSeriesReader::marker_ends_series(const MeasurementRecord& r, int k, int marker) {
  if (marker == kEndMarkerThousandths) return !series_goes_on(r, k);
  const int slots = slots_of(r);
  if (holds_measurement(r, k + 1, slots)) return false;
  const Ahead& ahead = look_ahead(r.reading.year + slots);
  return !ahead.value && !ahead.marker;
}

void MeasurementSeriesReader::end_series(const MeasurementRecord& r, int marker) {
  end_at_marker(marker == kEndMarker ? EndMarker::kHundredths : EndMarker::kThousandths);
  // Records of only missing values may follow; a record with measurements starts the next
  // series. Such a record is the last one held, and the last line read.
  if (look_ahead(r.reading.year + slots_of(r)).value) {
    held_.pop_back();
    in_.step_back();
  }
  pass_over_held(r.line_number);
}

bool MeasurementSeriesReader::series_goes_on(const MeasurementRecord& r, int k) {
  const int slots = slots_of(r);
  if (holds_value(r, k + 1, slots)) return true;
  // Blank fields after it end the record's values: a record that follows leaves a gap.
  for (int j = k + 1; j < slots; ++j) {
    if ((r.blank_fields & (1u << j)) != 0) return false;
  }
  const int next_year = r.reading.year + slots;
  return look_ahead(next_year).value && held_.front().reading.year == next_year;
}

const MeasurementSeriesReader::Ahead& MeasurementSeriesReader::look_ahead(int expected) {
  // The records held back are those of the last search, and they are taken in file order:
  // while any is held, its answer stands. So every line is looked at once, however many 999s
  // or -9999s stand before the measurement.
  if (!held_.empty()) return ahead_;
  ahead_ = Ahead{};
  MeasurementRecord r;
  for (;;) {
    if (held_.size() >= kMaxHeldRecords) return ahead_;
    if (!in_.next(&line_)) return ahead_;
    view_.assign(line_);
    const LineKind kind = read_measurement_record(view_, &r);
    if (kind == LineKind::kSkip) continue;
    bool alternative = false;
    if (kind == LineKind::kText || r.bad_fields != 0 ||
        relation_to_series(r, expected, &alternative) == Relation::kEnds ||
        !same_series_id(series_reading_, alternative ? r.alternative : r.reading)) {
      in_.step_back();
      return ahead_;
    }
    if (alternative) take_alternative(&r);
    r.line_number = in_.line_number();
    const int slots = slots_of(r);
    ahead_.value = holds_value(r, 0, slots);
    ahead_.marker = ahead_.marker || holds_measurement(r, 0, slots);
    expected = r.reading.year + slots;
    held_.push_back(std::move(r));
    if (ahead_.value) return ahead_;
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
  if (open_999_note_.count > 0) {
    // In 0.001 mm a 999 that ends nothing is 0.999 mm; in 0.01 mm it stands for no value.
    if (marker == EndMarker::kHundredths) {
      for (const int at : open_999_) series_.fields[static_cast<std::size_t>(at)] = kMissingField;
    }
    open_999_note_.units = units_of(marker);
    note(open_999_note_);
  }
  note_counted_values();
}

void MeasurementSeriesReader::end_before(const MeasurementRecord& r) {
  const bool same = same_series_id(series_reading_, r.reading);
  ReadAnomaly a = anomaly(same ? ReadAnomalyKind::kYearBack : ReadAnomalyKind::kLostEndMarker,
                          r.line_number, r.reading.year);
  a.other_id = r.reading.id;
  end_without_marker(a);
}

void MeasurementSeriesReader::end_at_end_of_file() {
  if (trailing_blanks_ > 0) drop_trailing_blanks();
  end_without_marker(
      anomaly(ReadAnomalyKind::kEndOfFileInSeries, last_record_line_, expected_year_ - 1));
}

void MeasurementSeriesReader::end_without_marker(ReadAnomaly ending) {
  // The units, and with them what its 999s are, wait for the file's other series.
  series_.end_marker = EndMarker::kLost;
  series_.open_999 = open_999_;
  if (open_999_note_.count > 0) series_.open_999_note = open_999_note_;
  ending.expected_year = expected_year_;
  ending.last_year = expected_year_ - 1;
  ending.other_line = last_record_line_;
  series_.ending = ending;
  note_counted_values();
}

void MeasurementSeriesReader::count_value(ReadAnomaly* counted, ReadAnomalyKind kind,
                                          const MeasurementRecord& r, int year) const {
  if (counted->count == 0) *counted = anomaly(kind, r.line_number, year);
  ++counted->count;
}

void MeasurementSeriesReader::note_counted_values() {
  std::array<const ReadAnomaly*, 3> counted = {&missing_codes_note_, &not_a_number_note_,
                                               &inner_marker_note_};
  // In the order of their first values.
  std::stable_sort(counted.begin(), counted.end(), [](const ReadAnomaly* a, const ReadAnomaly* b) {
    return std::pair(a->line_number, a->year) < std::pair(b->line_number, b->year);
  });
  for (const ReadAnomaly* note_of_series : counted) {
    if (note_of_series->count > 0) note(*note_of_series);
  }
}

}  // namespace kvr
