#include "formats/datar.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>
#include <utility>

#include "common/dimensions.h"

namespace kvr {
namespace {

constexpr int kRecordColumns = 80;
// Bounds that keep an absurd format text from asking for absurd lines.
constexpr long kMaxRepeat = 100000;
constexpr long kMaxWidth = 1000;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Reads an unsigned number at text[*at], advancing *at; false when no digit is there.
bool read_number(std::string_view text, std::size_t* at, long limit, long* value) {
  if (*at >= text.size() || !is_digit(text[*at])) return false;
  long v = 0;
  while (*at < text.size() && is_digit(text[*at])) {
    v = v * 10 + (text[*at] - '0');
    if (v > limit) return false;
    ++*at;
  }
  *value = v;
  return true;
}

}  // namespace

bool parse_free_format(std::string_view text, std::vector<FormatItem>* items) {
  items->clear();
  std::string list;
  const std::size_t open = text.find('(');
  if (open == std::string_view::npos) return false;
  const std::size_t close = text.find(')', open);
  if (close == std::string_view::npos) return false;
  for (char c : text.substr(0, open)) {
    if (c != ' ') return false;
  }
  for (char c : text.substr(open + 1, close - open - 1)) {
    if (c != ' ') list.push_back(upper(c));
  }

  bool any_real = false;
  std::size_t at = 0;
  for (;;) {
    long repeat = 1;
    if (!read_number(list, &at, kMaxRepeat, &repeat)) repeat = 1;
    if (repeat < 1) return false;
    if (at >= list.size()) return false;
    const char letter = list[at++];
    if (letter == 'X') {
      items->push_back({FormatItem::Kind::kSkip, static_cast<int>(repeat), 0});
    } else if (letter == 'F' || letter == 'E' || letter == 'D' || letter == 'G') {
      long width = 0;
      long decimals = 0;
      if (!read_number(list, &at, kMaxWidth, &width) || width < 1) return false;
      if (at < list.size() && list[at] == '.') {
        ++at;
        if (!read_number(list, &at, kMaxWidth, &decimals)) return false;
      }
      if ((letter == 'E' || letter == 'G') && at < list.size() && list[at] == 'E') {
        long exponent_digits = 0;
        ++at;
        if (!read_number(list, &at, kMaxWidth, &exponent_digits)) return false;
      }
      for (long r = 0; r < repeat; ++r) {
        items->push_back(
            {FormatItem::Kind::kReal, static_cast<int>(width), static_cast<int>(decimals)});
      }
      any_real = true;
    } else {
      return false;
    }
    if (at == list.size()) break;
    if (list[at] != ',') return false;
    ++at;
  }
  return any_real;
}

bool read_real_field(std::string_view field, int decimals, float* value) {
  std::string digits;  // mantissa digits without the point
  bool negative = false;
  bool seen_sign = false;
  bool seen_digit = false;
  bool seen_point = false;
  int fraction_digits = 0;
  long exponent = 0;
  std::size_t i = 0;
  const std::size_t n = field.size();
  auto skip_blanks = [&] {
    while (i < n && field[i] == ' ') ++i;
  };

  skip_blanks();
  if (i < n && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    seen_sign = true;
    ++i;
  }
  for (; i < n; ++i) {
    const char c = field[i];
    if (c == ' ') continue;
    if (is_digit(c)) {
      seen_digit = true;
      // Leading zeros carry no value and would only lengthen the text.
      if (!(digits.empty() && c == '0')) digits.push_back(c);
      if (seen_point) ++fraction_digits;
      continue;
    }
    if (c == '.' && !seen_point) {
      seen_point = true;
      continue;
    }
    break;
  }
  if (i < n) {
    // An exponent: a letter with an optional sign, or a bare sign, then digits.
    const char c = upper(field[i]);
    if (c == 'E' || c == 'D' || c == 'Q')
      ++i;
    else if (c != '+' && c != '-')
      return false;
    skip_blanks();
    bool exponent_negative = false;
    if (i < n && (field[i] == '+' || field[i] == '-')) {
      exponent_negative = field[i] == '-';
      ++i;
    }
    bool exponent_digit = false;
    for (; i < n; ++i) {
      if (field[i] == ' ') continue;
      if (!is_digit(field[i])) return false;
      exponent_digit = true;
      if (exponent < 100000) exponent = exponent * 10 + (field[i] - '0');
    }
    if (!exponent_digit || !seen_digit) return false;
    if (exponent_negative) exponent = -exponent;
  }
  if (!seen_digit) {
    // An all-blank field reads as 0; a sign or a point alone is no number.
    if (seen_sign || seen_point) return false;
    *value = 0.0f;
    return true;
  }
  if (digits.empty()) {
    *value = negative ? -0.0f : 0.0f;
    return true;
  }
  const long scale = exponent - (seen_point ? fraction_digits : decimals);
  std::string text = digits + "e" + std::to_string(scale);
  float parsed = 0.0f;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  *value = negative ? -parsed : parsed;
  return true;
}

FreeFormatSeries datar(LineReader& in, int max_length, std::string id_line) {
  const int limit = std::max(max_length, 0);
  FreeFormatSeries series;
  series.id_line = std::move(id_line);
  std::vector<float>* values = &series.values;
  std::string line;
  std::vector<FormatItem> format;

  // The count line: the first line whose count, year and format text read.
  for (;;) {
    if (!in.next(&line)) {
      series.status = DatarStatus::kEndOfFile;
      return series;
    }
    const std::string record = record_columns(line, kRecordColumns);
    if (record.compare(0, 3, "n  ") != 0) series.id_line = record;
    int n = 0;
    int year = 0;
    if (!read_int_field(record, 3, 10, &n) || !read_int_field(record, 13, 20, &year)) continue;
    const std::string_view format_text = std::string_view(record).substr(22, 8);
    if (format_text.find('(') == std::string_view::npos ||
        format_text.find(')') == std::string_view::npos) {
      continue;
    }
    series.first_year = year;
    if (n < 0) {
      series.count = 0;
      series.status = DatarStatus::kReadError;
      return series;
    }
    series.count = n;
    if (!parse_free_format(format_text, &format)) {
      values->assign(static_cast<std::size_t>(std::min(n, limit)), kMissing);
      series.status = DatarStatus::kReadError;
      return series;
    }
    break;
  }

  // The values: one line per pass through the format, as formatted input reads records.
  const int wanted = series.count;
  int got = 0;
  auto fail = [&](DatarStatus status) {
    values->resize(static_cast<std::size_t>(std::min(wanted, limit)), kMissing);
    series.status = status;
    return series;
  };
  while (got < wanted) {
    if (!in.next(&line)) return fail(DatarStatus::kUnexpectedEnd);
    std::size_t column = 0;
    for (const FormatItem& item : format) {
      if (got == wanted) break;
      const auto width = static_cast<std::size_t>(item.width);
      if (item.kind == FormatItem::Kind::kSkip) {
        column += width;
        continue;
      }
      // A short line reads as if padded with blanks.
      std::string_view field;
      if (column < line.size()) field = std::string_view(line).substr(column, width);
      column += width;
      float v = 0.0f;
      if (!read_real_field(field, item.decimals, &v)) return fail(DatarStatus::kReadError);
      ++got;
      if (got <= limit) values->push_back(v);
    }
  }
  series.status = DatarStatus::kSeries;
  return series;
}

}  // namespace kvr
