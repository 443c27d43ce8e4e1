#include "formats/measurement_series_reader.h"

#include <utility>

#include "common/dimensions.h"

namespace kvr {

bool holds_value(const MeasurementRecord& r, int from, int slots) {
  for (int k = from; k < slots; ++k) {
    const int v = r.values[static_cast<std::size_t>(k)];
    if (v > 0 && v != kEndMarker && (r.bad_fields & (1u << k)) == 0) return true;
  }
  return false;
}

bool holds_measurement(const MeasurementRecord& r, int from, int slots) {
  if (holds_value(r, from, slots)) return true;
  for (int k = from; k < slots; ++k) {
    if (is_end_marker(r, k) && r.values[static_cast<std::size_t>(k)] == kEndMarkerThousandths) {
      return true;
    }
  }
  return false;
}

MeasurementSeriesReader::Item MeasurementSeriesReader::next_item(MeasurementRecord* r) {
  if (!held_.empty()) {
    *r = std::move(held_.front());
    held_.pop_front();
    return Item::kRecord;
  }
  for (;;) {
    if (!in_.next(&line_)) return Item::kEnd;
    view_.assign(line_);
    if (series_.count == 0 && view_.columns()[SeriesBuilder::kRecordColumns - 1] == '#') {
      return Item::kFreeFormat;
    }
    const LineKind kind = read_measurement_record(view_, r);
    if (kind == LineKind::kSkip) continue;
    if (kind == LineKind::kText) return Item::kText;
    r->line_number = in_.line_number();
    return Item::kRecord;
  }
}

SeriesRead MeasurementSeriesReader::read() {
  MeasurementRecord r;
  for (;;) {
    const Item item = next_item(&r);
    if (item == Item::kEnd) {
      if (records_ == 0) return builder_.end_of_file();
      end_at_end_of_file();
      return builder_.complete();
    }
    if (item == Item::kFreeFormat) return builder_.free_format_series(line_);
    if (item == Item::kText) {
      if (records_ > 0) {
        note(anomaly(ReadAnomalyKind::kRecordNotRead, in_.line_number(), expected_year_));
      }
      if (!builder_.text_record(view_.text(1, SeriesBuilder::kRecordColumns))) {
        return builder_.too_many_text_lines();
      }
      continue;
    }
    Relation relation = Relation::kContinues;
    if (records_ == 0) {
      // A record with a field that is no number starts no series: a text record.
      if (r.bad_fields != 0) {
        if (!builder_.text_record(r.text)) return builder_.too_many_text_lines();
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
        if (!builder_.text_record(r.text)) return builder_.too_many_text_lines();
        continue;
      }
      if (relation == Relation::kEnds) {
        // Records held back all continue the series, so this one came from the file.
        in_.step_back();
        end_before(r);
        return builder_.complete();
      }
      if (alternative) take_alternative(&r);
    }
    ++records_;
    note_record(r, relation);
    if (relation == Relation::kGap) {
      for (int year = expected_year_; year < r.reading.year; ++year) builder_.store(kMissingField);
    }
    if (take_values(r)) return builder_.complete();
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
  for (int k = 0; k < slots; ++k) marker = marker || is_end_marker(r, k);
  for (int k = slots; k < 10 && !marker; ++k) {
    if (r.values[static_cast<std::size_t>(k)] != 0 || (r.not_a_number_fields & (1u << k)) != 0) {
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

SeriesRead read_measurement_series(SeriesBuilder& builder) {
  return MeasurementSeriesReader(builder).read();
}

}  // namespace kvr
