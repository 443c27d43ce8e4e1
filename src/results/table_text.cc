#include "results/table_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/fixed_format.h"

namespace kvr {
namespace {

bool is_control(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::string table_number(double v) {
  std::string text;
  append_table_number(&text, v);
  return text;
}

// std::to_chars in the general form with a precision writes the digits of printf's %.6g.
void append_table_number(std::string* out, double v) {
  if (!std::isfinite(v)) {
    out->append("NA");
    return;
  }
  char text[32];
  const std::to_chars_result r =
      std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
  out->append(text, r.ptr);
}

void append_integer(std::string* out, long long v) {
  char digits[24];
  out->append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}

std::string fixed_or_na(std::optional<double> v, int decimals) {
  if (!v || !std::isfinite(*v)) return "NA";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, *v);
  return text;
}

std::string table_field(std::string_view text) {
  std::string shown = comment_field(text);
  for (char& c : shown) {
    if (c == '#') c = '?';
  }
  return shown.empty() ? "NA" : shown;
}

std::string comment_field(std::string_view text) {
  std::string shown = trim_right(text);
  for (char& c : shown) {
    if (is_control(c)) c = '?';
  }
  return shown;
}

}  // namespace kvr
