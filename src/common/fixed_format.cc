#include "common/fixed_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/utf8.h"

namespace kvr {

std::string format_int(long long v, int width) {
  std::string field;
  append_int(&field, v, width);
  return field;
}

void append_int(std::string* line, long long v, int width) {
  if (width <= kIntFieldRoom) {
    char field[kIntFieldRoom];
    line->append(field, put_int(field, v, width));
    return;
  }
  line->append(static_cast<std::size_t>(width - kIntFieldRoom), ' ');
  append_int(line, v, kIntFieldRoom);
}

char* put_int(char* p, long long v, int width) {
  char digits[24];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, v);
  const auto length = static_cast<int>(end - digits);
  if (error != std::errc() || length > width) return std::fill_n(p, width, '*');
  p = std::fill_n(p, width - length, ' ');
  return std::copy(digits, end, p);
}

std::string format_fixed(double v, int width, int decimals) {
  const std::string stars(static_cast<std::size_t>(width), '*');
  if (!std::isfinite(v)) return stars;
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
  std::string text = buffer;
  // A negative value that rounds to zero is written without its sign, as formatted output does.
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  if (static_cast<int>(text.size()) > width) {
    // Drop the optional leading zero of "0.xx" / "-0.xx" before giving up.
    const std::size_t zero = text[0] == '-' ? 1 : 0;
    if (text.size() > zero + 1 && text[zero] == '0' && text[zero + 1] == '.') text.erase(zero, 1);
  }
  if (static_cast<int>(text.size()) > width) return stars;
  return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string pad_right(std::string_view text, std::size_t width) {
  // Text in UTF-8 (an id read by characters) counts its characters, anything else its bytes.
  if (has_non_ascii(text) && is_valid_utf8(text)) {
    const std::size_t characters = utf8_length(text);
    if (characters >= width) return std::string(text.substr(0, utf8_prefix_bytes(text, width)));
    return std::string(text) + std::string(width - characters, ' ');
  }
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::string pad_right_whole(std::string_view text, std::size_t width) {
  const bool by_characters = has_non_ascii(text) && is_valid_utf8(text);
  const std::size_t length = by_characters ? utf8_length(text) : text.size();
  return length >= width ? std::string(text) : pad_right(text, width);
}

std::string control_characters_shown(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return shown;
}

std::string trim_right(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  if (end == std::string_view::npos) return std::string();
  return std::string(text.substr(0, end + 1));
}

}  // namespace kvr
