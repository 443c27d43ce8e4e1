#include "formats/measurement_record.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "common/utf8.h"
#include "formats/decade_format.h"
#include "io/line_reader.h"

namespace kvr {
namespace {

constexpr int kFirstValueColumn = 13;
constexpr int kFieldWidth = 6;

bool blank(char c) { return c == ' '; }
bool digit(char c) { return c >= '0' && c <= '9'; }

enum class Field { kNumber, kBlank, kNotANumber, kBad };

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The form of a token that stands for a missing value ("NaN" or "NA" in any case, or "."):
// one of kNaNForm, kNAForm, kDotForm; 0 for any other token.
unsigned not_a_number_form(std::string_view token) {
  std::string lowered(token);
  for (char& c : lowered) c = lower(c);
  if (lowered == "nan") return kNaNForm;
  if (lowered == "na") return kNAForm;
  if (lowered == ".") return kDotForm;
  return 0;
}

// Reads one value field as formatted input does (blanks ignored, an optional sign before the
// digits; all blank reads 0) in one pass, the way every record's ten fields are read. A field
// that holds only a form of "not a number" (*form tells which) is kNotANumber. *unaligned
// tells that a blank follows a digit: the value is not right-aligned.
Field read_value_field(const char* field, int* value, bool* unaligned, unsigned* form) {
  int v = 0;
  bool negative = false;
  bool sign = false;
  bool digits = false;
  for (int i = 0; i < kFieldWidth; ++i) {
    const char c = field[i];
    if (blank(c)) {
      if (digits) *unaligned = true;
      continue;
    }
    if ((c == '-' || c == '+') && !sign && !digits) {
      sign = true;
      negative = c == '-';
      continue;
    }
    if (!digit(c)) {
      const std::string_view text(field, kFieldWidth);
      const std::size_t first = text.find_first_not_of(' ');
      const std::size_t last = text.find_last_not_of(' ');
      *form = not_a_number_form(text.substr(first, last - first + 1));
      if (*form == 0) return Field::kBad;
      *unaligned = last + 1 < text.size();
      return Field::kNotANumber;
    }
    digits = true;
    v = v * 10 + (c - '0');
  }
  *value = negative ? -v : v;
  if (!digits) return sign ? Field::kBad : Field::kBlank;
  return Field::kNumber;
}

// True when the numbers of the value columns are not those of their fields: a field holds
// two of them (a blank between digits), or one runs from a field into the next. Values that
// are only not right-aligned each in its own field read the same either way.
bool numbers_cross_fields(const std::string& columns) {
  const int last = kFirstValueColumn + 10 * kFieldWidth - 1;
  int token_field = -1;  // field of the number being read, -1 between numbers
  for (int column = kFirstValueColumn; column <= last; ++column) {
    const char c = columns[static_cast<std::size_t>(column - 1)];
    const int field = (column - kFirstValueColumn) / kFieldWidth;
    if (blank(c)) {
      token_field = -1;
      continue;
    }
    if (token_field >= 0 && token_field != field) return true;
    if (token_field < 0) {
      // A second number in the field.
      for (int before = kFirstValueColumn + field * kFieldWidth; before < column; ++before) {
        if (!blank(columns[static_cast<std::size_t>(before - 1)])) return true;
      }
    }
    token_field = field;
  }
  return false;
}

// An optional minus sign and digits, at most `widest` characters.
bool read_token(std::string_view token, std::size_t widest, int* value) {
  if (token.empty() || token.size() > widest) return false;
  const char* end = token.data() + token.size();
  const auto [stop, error] = std::from_chars(token.data(), end, *value);
  return error == std::errc() && stop == end;
}

// Reads the year and values by splitting columns `from`..80 at blanks. True when that gives
// a year and one value (or form of "not a number") for each of the record's slots, or fewer
// ending in an end marker.
bool split_at_blanks(const std::string& columns, int from, MeasurementRecord* r) {
  std::array<int, 12> numbers{};
  std::array<unsigned, 12> forms{};
  int count = 0;
  std::size_t at = static_cast<std::size_t>(from - 1);
  while (at < columns.size()) {
    if (blank(columns[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < columns.size() && !blank(columns[end])) ++end;
    if (count == static_cast<int>(numbers.size())) return false;
    const std::size_t widest = count == 0 ? 6 : kFieldWidth;
    const std::string_view token = std::string_view(columns).substr(at, end - at);
    const auto n = static_cast<std::size_t>(count);
    if (count > 0) forms[n] = not_a_number_form(token);
    if (forms[n] == 0 && !read_token(token, widest, &numbers[n])) return false;
    ++count;
    at = end;
  }
  int values = count - 1;
  if (values < 1) return false;
  const int slots = first_record_values(numbers[0]);
  const int last = numbers[static_cast<std::size_t>(values)];
  const bool marker_last = last == kEndMarker || last == kEndMarkerThousandths;
  // An end marker after the ten values of a full record.
  r->eleventh_marker = 0;
  if (values == 11 && slots == 10 && marker_last) {
    r->eleventh_marker = last;
    values = 10;
  }
  if (values > slots) return false;
  if (values < slots && !marker_last) return false;
  r->reading.year = numbers[0];
  r->values.fill(0);
  r->blank_fields = 0;
  r->not_a_number_fields = 0;
  r->not_a_number_forms = 0;
  for (int k = 0; k < 10; ++k) {
    const auto n = static_cast<std::size_t>(k + 1);
    if (k >= values) {
      r->blank_fields |= 1u << k;
    } else if (forms[n] != 0) {
      r->not_a_number_fields |= 1u << k;
      r->not_a_number_forms |= forms[n];
    } else {
      r->values[static_cast<std::size_t>(k)] = numbers[n];
    }
  }
  return true;
}

// An end marker in columns 73-78, where a record has no field, with columns 79-80 blank; 0
// when there is none.
int eleventh_marker(const std::string& columns) {
  constexpr int kEleventhColumn = kFirstValueColumn + 10 * kFieldWidth;
  if (!blank(columns[kEleventhColumn + kFieldWidth - 1]) ||
      !blank(columns[kEleventhColumn + kFieldWidth])) {
    return 0;
  }
  int value = 0;
  bool unaligned = false;
  unsigned form = 0;
  const Field kind =
      read_value_field(columns.data() + kEleventhColumn - 1, &value, &unaligned, &form);
  if (kind != Field::kNumber || (value != kEndMarker && value != kEndMarkerThousandths)) return 0;
  return value;
}

// In a record read from the columns although numbers cross its fields: the fields that read
// as an end marker only as the piece of a longer number ("999   " after "     1" of 1999) are
// no end markers: cut_markers names them.
void mark_cut_markers(const std::string& columns, MeasurementRecord* r) {
  const auto filled = [&columns](int column) {
    return !blank(columns[static_cast<std::size_t>(column - 1)]);
  };
  for (int k = 0; k < 10; ++k) {
    const int value = r->values[static_cast<std::size_t>(k)];
    if (value != kEndMarker && value != kEndMarkerThousandths) continue;
    const int first = kFirstValueColumn + k * kFieldWidth;
    const int last = first + kFieldWidth - 1;
    if ((k > 0 && filled(first - 1) && filled(first)) ||
        (k < 9 && filled(last) && filled(last + 1))) {
      r->cut_markers |= 1u << k;
    }
  }
}

void read_id(const ColumnView& view, int id_width, int year, IdAndYear* reading) {
  if (view.by_characters()) {
    reading->id = view.text(1, id_width);
  } else {
    reading->id.assign(view.columns(), 0, static_cast<std::size_t>(id_width));
  }
  reading->id.append(static_cast<std::size_t>(8 - id_width), ' ');
  reading->id_width = id_width;
  reading->year = year;
}

// Bytes of the first `characters` characters of an id: characters of UTF-8 when the id is
// UTF-8 with multi-byte characters (read by characters), bytes otherwise.
std::size_t id_prefix(const std::string& id, std::size_t characters) {
  if (has_non_ascii(id) && is_valid_utf8(id)) return utf8_prefix_bytes(id, characters);
  return std::min(characters, id.size());
}

}  // namespace

int bad_field_count(unsigned bad_fields) {
  int n = 0;
  for (; bad_fields != 0; bad_fields &= bad_fields - 1) ++n;
  return n;
}

LineKind read_measurement_record(const ColumnView& view, MeasurementRecord* r) {
  const std::string& columns = view.columns();
  if (blank(columns[8]) && blank(columns[9]) && blank(columns[10]) && blank(columns[11])) {
    return LineKind::kSkip;
  }
  int id_width = 8;
  if (columns[7] == '-') {
    id_width = 7;
  } else if (columns[6] == '-') {
    id_width = 6;
  }
  int year = 0;
  int year_a = 0;
  const bool design_reads = read_int_field(columns, id_width + 1, 12, &year);
  const bool a_reads = id_width != 8 && read_int_field(columns, 9, 12, &year_a);
  r->read_as_a = false;
  r->has_alternative = false;
  if (!design_reads) {
    if (!a_reads) return LineKind::kText;
    // An id that runs into the year: its last characters are no part of a year.
    r->read_as_a = true;
    id_width = 8;
    year = year_a;
  }
  // A year of -1000 written beside a six-character id leaves column 7 blank.
  const int compared_width = id_width == 7 && blank(columns[6]) ? 6 : id_width;
  read_id(view, compared_width, year, &r->reading);
  if (design_reads && a_reads) {
    r->has_alternative = true;
    read_id(view, 8, year_a, &r->alternative);
  }

  r->bad_fields = 0;
  r->blank_fields = 0;
  r->not_a_number_fields = 0;
  r->not_a_number_forms = 0;
  bool shifted = false;
  for (int k = 0; k < 10; ++k) {
    const char* field = columns.data() + kFirstValueColumn - 1 + kFieldWidth * k;
    int& value = r->values[static_cast<std::size_t>(k)];
    bool unaligned = false;
    unsigned form = 0;
    const Field kind = read_value_field(field, &value, &unaligned, &form);
    if (kind == Field::kBlank) {
      r->blank_fields |= 1u << k;
    } else if (kind == Field::kBad) {
      value = 0;
      r->bad_fields |= 1u << k;
    } else {
      if (kind == Field::kNotANumber) {
        value = 0;
        r->not_a_number_fields |= 1u << k;
        r->not_a_number_forms |= form;
      }
      shifted = shifted || unaligned;
    }
  }
  r->alignment = ValueAlignment::kColumns;
  r->right_aligned = !shifted;
  r->cut_markers = 0;
  r->eleventh_marker = eleventh_marker(columns);
  // A field that is no number may hold a piece of a number cut across fields, as "  895 -9"
  // does of -9999: the split reading reads such a record whole.
  if ((shifted || r->bad_fields != 0) && numbers_cross_fields(columns)) {
    const int from = r->read_as_a ? 9 : id_width + 1;
    if (split_at_blanks(columns, from, r)) {
      r->alignment = ValueAlignment::kSplit;
      r->bad_fields = 0;
    } else {
      r->alignment = ValueAlignment::kUnsplit;
      r->eleventh_marker = 0;
      mark_cut_markers(columns, r);
    }
  }
  r->by_characters = view.wide_within(72);
  if (r->bad_fields != 0) {
    r->text = view.text(1, ColumnView::kColumns);
  } else {
    r->text.clear();
  }
  return LineKind::kRecord;
}

bool same_series_id(const IdAndYear& a, const IdAndYear& b) {
  const auto n = static_cast<std::size_t>(std::min(a.id_width, b.id_width));
  // Eight bytes are eight columns: no multi-byte character.
  if (a.id.size() == 8 && b.id.size() == 8) return a.id.compare(0, n, b.id, 0, n) == 0;
  const std::size_t na = id_prefix(a.id, n);
  const std::size_t nb = id_prefix(b.id, n);
  return a.id.compare(0, na, b.id, 0, nb) == 0;
}

}  // namespace kvr
