#include "formats/trrw_write.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "formats/decade_format.h"

namespace kvr {
namespace {

// Appends the integer that `value` x 1000 rounds to, halves away from zero, as a field of
// `width` columns (asterisks when it does not fit, or for a value that is no number).
// Written at p (width <= kIntFieldRoom); returns the end of the field.
char* put_thousandths(char* p, float value, int width, bool end_marker_safe) {
  const float rounded = std::round(value * 1000.0f);
  if (!(std::fabs(rounded) < 1.0e9f)) return std::fill_n(p, width, '*');
  auto n = static_cast<long long>(rounded);
  // The reader takes 999 as an end marker in every series.
  if (end_marker_safe && n == kEndMarker) n = 1000;
  return put_int(p, n, width);
}

std::string thousandths(float value, int width, bool end_marker_safe) {
  char field[kIntFieldRoom];
  return std::string(field, put_thousandths(field, value, width, end_marker_safe));
}

float value_at(const TrrwSeries& series, int k) {
  const auto at = static_cast<std::size_t>(k - 1);
  return at < series.values.size() ? series.values[at] : kMissing;
}

int depth_at(const TrrwSeries& series, int k) {
  const auto at = static_cast<std::size_t>(k - 1);
  return at < series.depths.size() ? series.depths[at] : 0;
}

// Width of the year field of every record of a series whose earliest year is `first_year`:
// 4 (variant A) from -999 up, 5 (B) from -9999 to -1000, 6 (C) below. Years only rise along
// a series, so its first year decides, and the id keeps one width on every record; a reader
// that meets another id on a later record would split the series there.
int year_width_for(int first_year) {
  if (first_year >= -999) return 4;
  return first_year >= -9999 ? 5 : 6;
}

// The records of a series, one decade each: the first holds the years from the series' first
// year to the end of its decade (`slots` of them), each later one ten.
class DecadeRecords {
 public:
  DecadeRecords(WriteMode mode, const std::string& id, int first_year)
      : id_(pad_right(id, static_cast<std::size_t>(record_id_width(mode, first_year)))),
        year_width_(year_width_for(first_year)),
        year_(first_year),
        slots_(first_record_values(first_year)) {}

  int slots() const { return slots_; }
  void next() {
    year_ += slots_;
    slots_ = 10;
  }
  // Appends the id cut or padded to its width (record_id_width), then the record's year.
  void append_id_and_year(std::string* line) const {
    *line += id_;
    append_int(line, year_, year_width_);
  }
  // The same written at p; returns the end.
  char* put_id_and_year(char* p) const {
    return put_int(std::copy(id_.begin(), id_.end(), p), year_, year_width_);
  }
  // The bytes of the id and the year.
  std::size_t id_and_year_size() const {
    return id_.size() + static_cast<std::size_t>(year_width_);
  }

 private:
  std::string id_;
  int year_width_;
  int year_;
  int slots_;
};

// Measurement records ("mw"): id and year as above (columns 1-12), values x 1000 in fields
// of width 6 from column 13 (a missing value as -999), -9999 after the last value; a record
// of ten used slots ends with two blanks and the record tag (columns 73-77), a shorter one
// after its last slot.
void append_measurements(std::string* text, const TrrwSeries& series, const std::string& tag) {
  DecadeRecords records(WriteMode::kMeasurements, series.id, series.first_year);
  // Each record is put together in `record`, then appended whole.
  std::vector<char> record(records.id_and_year_size() + 10 * 6 + 2 + tag.size() + 1);
  int k = 0;
  for (;; records.next()) {
    char* p = records.put_id_and_year(record.data());
    bool complete = false;
    int used = 0;
    for (int slot = 1; slot <= records.slots(); ++slot) {
      ++k;
      ++used;
      if (k > series.count) {
        p = put_int(p, kEndMarkerThousandths, 6);
        complete = true;
        break;
      }
      const float v = value_at(series, k);
      p = is_missing(v) ? put_int(p, kMissingCode, 6) : put_thousandths(p, v, 6, true);
    }
    if (used == 10) {
      p = std::fill_n(p, 2, ' ');
      p = std::copy(tag.begin(), tag.end(), p);
    }
    *p++ = '\n';
    text->append(record.data(), p);
    if (complete) return;
  }
}

// Index records ("iw"): id and year as above (columns 1-10), ten pairs of a value x 1000
// (width 4) and a sample depth (width 3) in columns 11-80, two blanks, the record tag in
// columns 83-85. Empty slots and missing values hold the filler 9990 with depth 0.
void append_index(std::string* text, const TrrwSeries& series, const std::string& tag) {
  const int count = series.count;
  // Depths are taken when the caller gave any; a chronology without them gets depth 1.
  bool have_depths = false;
  for (int k = 1; k <= count && !have_depths; ++k) have_depths = depth_at(series, k) > 0;

  DecadeRecords records(WriteMode::kIndex, series.id, series.first_year);
  int k = 0;
  for (;; records.next()) {
    std::array<std::string, 10> values;
    std::array<int, 10> depths{};
    values.fill(format_int(kFiller, 4));
    bool complete = false;
    for (int slot = 11 - records.slots(); slot <= 10; ++slot) {
      ++k;
      if (k > count) {
        complete = true;
        break;
      }
      const float v = value_at(series, k);
      if (is_missing(v)) continue;
      const auto at = static_cast<std::size_t>(slot - 1);
      values[at] = thousandths(v, 4, false);
      depths[at] = have_depths ? depth_at(series, k) : 1;
    }
    records.append_id_and_year(text);
    for (std::size_t at = 0; at < 10; ++at) {
      *text += values[at];
      append_int(text, depths[at], 3);
    }
    *text += "  ";
    *text += tag;
    *text += '\n';
    if (complete) return;
  }
}

}  // namespace

int record_id_width(WriteMode mode, int first_year) {
  const int widest = mode == WriteMode::kMeasurements ? 8 : 6;
  return widest - (year_width_for(first_year) - 4);
}

void trrw_append(std::string* text, WriteMode mode, const TrrwSeries& series,
                 std::string_view record_tag) {
  if (series.count < 1) return;
  const std::string tag = pad_right(record_tag, 3);
  switch (mode) {
    case WriteMode::kMeasurements:
      append_measurements(text, series, tag);
      break;
    case WriteMode::kIndex:
      append_index(text, series, tag);
      break;
  }
}

void trrw_write(std::ostream& out, WriteMode mode, const TrrwSeries& series,
                std::string_view record_tag) {
  std::string text;
  trrw_append(&text, mode, series, record_tag);
  out << text;
}

}  // namespace kvr
