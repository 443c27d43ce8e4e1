#include "formats/table_cells.h"

#include <algorithm>
#include <cctype>

namespace kvr {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Counts that fit an int32 of 0.001 mm with room: below 10^9.
constexpr int kMaxDigits = 9;
constexpr std::int64_t kTooLarge = 1000000000;

// One cell starting at `at` (blanks before it skipped): its text, and where the scan stopped
// (at the separator or the end of the line).
std::string_view next_cell(std::string_view line, char separator, std::size_t* at) {
  std::size_t i = *at;
  while (i < line.size() && is_blank(line[i]) && line[i] != separator) ++i;
  if (i < line.size() && line[i] == '"') {
    std::size_t close = i + 1;
    while (close < line.size()) {
      if (line[close] == '"' && close + 1 < line.size() && line[close + 1] == '"') {
        close += 2;
      } else if (line[close] == '"') {
        break;
      } else {
        ++close;
      }
    }
    std::size_t after = std::min(close + 1, line.size());
    while (after < line.size() && is_blank(line[after]) && line[after] != separator) ++after;
    if (after == line.size() || line[after] == separator) {
      *at = after;
      return line.substr(i + 1, std::min(close, line.size()) - i - 1);
    }
    // Text after the closing quote: the cell is read as it stands, quotes and all.
  }
  const std::size_t stop =
      separator == ' ' ? line.find_first_of(" \t", i) : line.find(separator, i);
  *at = std::min(stop, line.size());
  return trim_blanks(line.substr(i, *at - i));
}

// The run of digits at the start of *text, taken off it.
std::string_view take_digits(std::string_view* text) {
  std::size_t n = 0;
  while (n < text->size() && is_digit((*text)[n])) ++n;
  const std::string_view digits = text->substr(0, n);
  text->remove_prefix(n);
  return digits;
}

// The digits of a number written as integer part, fraction part, 10^-places.
struct Digits {
  std::string_view whole;
  std::string_view fraction;
  char at(std::size_t i) const { return i < whole.size() ? whole[i] : fraction[i - whole.size()]; }
  std::size_t size() const { return whole.size() + fraction.size(); }
};

// Value of digits[first, last) as an integer, or -1 when it has more than kMaxDigits digits.
std::int64_t integer_of(const Digits& digits, std::size_t first, std::size_t last) {
  if (last - first > static_cast<std::size_t>(kMaxDigits)) return -1;
  std::int64_t value = 0;
  for (std::size_t i = first; i < last; ++i) value = value * 10 + (digits.at(i) - '0');
  return value;
}

}  // namespace

bool same_letters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trim_blanks(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

void split_cells(std::string_view line, char separator, std::size_t cap, Cells* out) {
  out->cells.clear();
  out->total = 0;
  out->filled = 0;
  std::size_t at = 0;
  if (separator == ' ') {
    line = trim_blanks(line);
    if (line.empty()) return;
  }
  for (;;) {
    const std::string_view cell = next_cell(line, separator, &at);
    ++out->total;
    if (!cell.empty()) out->filled = out->total;
    if (out->cells.size() < cap) out->cells.push_back(cell);
    if (at >= line.size()) return;
    ++at;  // the separator
    if (separator == ' ') {
      while (at < line.size() && is_blank(line[at])) ++at;
    }
  }
}

char header_separator(std::string_view line) {
  std::size_t counts[3] = {0, 0, 0};
  static constexpr char kCandidates[3] = {'\t', ';', ','};
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    for (int k = 0; k < 3; ++k) counts[k] += c == kCandidates[k] ? 1 : 0;
  }
  for (int k = 0; k < 3; ++k) {
    if (counts[k] > 0) return kCandidates[k];
  }
  return trim_blanks(line).substr(0, 1) == "\"" ? ' ' : 0;
}

std::string cell_name(std::string_view cell) {
  std::string name;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    name.push_back(cell[i]);
    if (cell[i] == '"' && i + 1 < cell.size() && cell[i + 1] == '"') ++i;
  }
  return name;
}

CellKind read_value_cell(std::string_view cell, const CellRules& rules, CellValue* value) {
  cell = trim_blanks(cell);
  if (cell.empty() || same_letters(cell, "NA") || same_letters(cell, "NaN") ||
      same_letters(cell, "NULL")) {
    return CellKind::kEmpty;
  }
  for (const std::string& word : rules.missing_words) {
    if (same_letters(cell, word)) return CellKind::kEmpty;
  }
  std::string_view rest = cell;
  const bool negative = rest[0] == '-';
  if (rest[0] == '-' || rest[0] == '+') rest.remove_prefix(1);
  Digits digits;
  digits.whole = take_digits(&rest);
  if (!rest.empty() && (rest[0] == '.' || (rest[0] == ',' && rules.decimal_comma))) {
    rest.remove_prefix(1);
    digits.fraction = take_digits(&rest);
  }
  if (digits.size() == 0) return CellKind::kNoNumber;
  int exponent = 0;
  if (!rest.empty() && (rest[0] == 'e' || rest[0] == 'E')) {
    rest.remove_prefix(1);
    const bool down = !rest.empty() && rest[0] == '-';
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) rest.remove_prefix(1);
    const std::string_view power = take_digits(&rest);
    if (power.empty() || power.size() > 3) return CellKind::kNoNumber;
    for (const char c : power) exponent = exponent * 10 + (c - '0');
    if (down) exponent = -exponent;
  }
  if (!rest.empty()) return CellKind::kNoNumber;

  // The number is digits[first, last) x 10^-places, without zeros at either end.
  std::size_t first = 0;
  std::size_t last = digits.size();
  int places = static_cast<int>(digits.fraction.size()) - exponent;
  while (first < last && digits.at(first) == '0') ++first;
  while (last > first && places > 0 && digits.at(last - 1) == '0') {
    --last;
    --places;
  }
  if (first == last) {
    *value = CellValue{};
    return CellKind::kValue;
  }
  if (negative) return CellKind::kCode;

  std::int64_t thousandths = 0;
  if (places > 3) {
    // Rounded half up at the third decimal place.
    const auto dropped = static_cast<std::size_t>(places - 3);
    const std::size_t kept = last - first > dropped ? last - dropped : first;
    thousandths = kept > first ? integer_of(digits, first, kept) : 0;
    if (thousandths < 0) return CellKind::kNoNumber;
    if (last - first >= dropped && digits.at(kept) >= '5') ++thousandths;
  } else {
    thousandths = integer_of(digits, first, last);
    for (int k = places; k < 3 && thousandths >= 0 && thousandths < kTooLarge; ++k) {
      thousandths *= 10;
    }
  }
  if (thousandths < 0 || thousandths >= kTooLarge) return CellKind::kNoNumber;
  value->thousandths = static_cast<std::int32_t>(thousandths);
  value->places = std::max(places, 0);
  return CellKind::kValue;
}

bool read_year_cell(std::string_view cell, int* year) {
  cell = trim_blanks(cell);
  const bool negative = !cell.empty() && cell[0] == '-';
  if (!cell.empty() && (cell[0] == '-' || cell[0] == '+')) cell.remove_prefix(1);
  if (cell.empty() || cell.size() > 7) return false;
  int value = 0;
  for (const char c : cell) {
    if (!is_digit(c)) return false;
    value = value * 10 + (c - '0');
  }
  *year = negative ? -value : value;
  return true;
}

}  // namespace kvr
