#include "standardize/result_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string_view>

#include "common/dimensions.h"
#include "common/fixed_format.h"

namespace kvr {
namespace {

constexpr std::size_t kIntWidth = 12;
constexpr std::size_t kFixedWidth = 11;
constexpr std::size_t kExponentWidth = 15;
constexpr int kSignificantDigits = 6;

// The Climate Explorer's missing value; it does not take -99.99 as missing.
constexpr float kKnmiMissing = -999.9f;

std::string right_aligned(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text);
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string alignment_line(bool age_aligned) {
  return age_aligned ? "#Age aligned Rank Standardized values"
                     : "#Calendar aligned Rank Standardized values";
}

}  // namespace

std::string list_int(long long v) {
  // A number wider than the field widens it; free-form output has no overflow stars.
  return right_aligned(std::to_string(v), kIntWidth);
}

std::string list_real(float v) {
  char buffer[64];
  const double x = v == 0.0f ? 0.0 : static_cast<double>(v);  // no sign on a negative zero
  if (!std::isfinite(x)) {
    std::snprintf(buffer, sizeof buffer, "%.6E", x);
    return right_aligned(buffer, kExponentWidth);
  }
  // The value rounded to six significant digits decides the form: "d.dddddE+xx" gives its
  // decimal exponent.
  std::snprintf(buffer, sizeof buffer, "%.*E", kSignificantDigits - 1, x);
  const char* exponent_text = std::strchr(buffer, 'E');
  const int exponent = exponent_text != nullptr ? std::atoi(exponent_text + 1) : 0;
  if (x != 0.0 && exponent >= -1 && exponent < 6) {
    // 0.1 <= |rounded| < 1e6: the digits before the point leave the rest of the six for
    // decimals (a value below 1 has none before the point). '#' keeps the point when no
    // decimal is left.
    const int digits_before_point = exponent >= 0 ? exponent + 1 : 0;
    std::snprintf(buffer, sizeof buffer, "%#.*f", kSignificantDigits - digits_before_point, x);
    return right_aligned(buffer, kFixedWidth);
  }
  std::snprintf(buffer, sizeof buffer, "%.6E", x);
  return right_aligned(buffer, kExponentWidth);
}

void write_result_table(std::ostream& out, const MeasurementSet& set, const Grid<float>& by_year,
                        const Chronology& chronology, bool age_aligned,
                        const std::string& run_title) {
  out << alignment_line(age_aligned) << '\n';
  out << '#' << pad_right(run_title, 50) << '\n';

  const int series_count = set.count();
  out << " #yr\tSD\tAve\tRobM\t+2(se)\t-2(se)";
  for (int i = 1; i <= series_count; ++i) out << '\t' << pad_right(set.info(i).id, 8);
  out << '\n';

  const std::string average = list_real(chronology.average);
  std::string line;
  for (int y = 1; y <= chronology.years(); ++y) {
    const std::size_t index = static_cast<std::size_t>(y - 1);
    line = " ";
    line += list_int(static_cast<long long>(set.earliest_first_year) + y - 1);
    line += list_int(chronology.sample_depth[index]);
    line += average;
    line += list_real(chronology.robust_mean[index]);
    line += list_real(chronology.upper_band(y));
    line += list_real(chronology.lower_band(y));
    for (int i = 1; i <= series_count; ++i) {
      // A cell outside the grid holds no value.
      line += list_real(by_year.contains(i, y) ? by_year(i, y) : kMissing);
    }
    line += '\n';
    out << line;
  }
}

void write_knmi(std::ostream& out, const std::string& input_name, const std::string& run_title,
                bool age_aligned, const Chronology& chronology, int earliest_first_year) {
  out << '#' << pad_right(input_name, 60) << '\n';
  out << '#' << pad_right(run_title, 60) << '\n';
  out << alignment_line(age_aligned) << '\n';

  std::string line;
  for (int y = 1; y <= chronology.years(); ++y) {
    const float value = chronology.robust_mean[static_cast<std::size_t>(y - 1)];
    const std::string field = list_real(is_missing(value) ? kKnmiMissing : value);
    line = " ";
    line += list_int(static_cast<long long>(earliest_first_year) + y - 1);
    // Each tab follows a number, so one blank precedes it.
    for (int month = 1; month <= 12; ++month) {
      line += " \t";
      line += field;
    }
    line += '\n';
    out << line;
  }
}

}  // namespace kvr
