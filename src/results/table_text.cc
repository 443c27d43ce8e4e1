#include "results/table_text.h"

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
  if (!std::isfinite(v)) return "NA";
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
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
