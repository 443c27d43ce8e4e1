#include "results/knmi_file.h"

#include <ostream>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "results/list_items.h"
#include "results/run_title.h"

namespace kvr {
namespace {

// The Climate Explorer's missing value; it does not take -99.99 as missing.
constexpr float kKnmiMissing = -999.9f;

}  // namespace

void write_knmi(std::ostream& out, const std::string& input_name, const std::string& run_title,
                bool age_aligned, const Chronology& chronology, int earliest_first_year) {
  out << '#' << pad_right(input_name, 60) << '\n';
  out << '#' << pad_right(run_title, 60) << '\n';
  out << '#' << alignment_text(age_aligned) << '\n';

  std::string line;
  for (int y = 1; y <= chronology.years(); ++y) {
    const float value = chronology.robust_mean[static_cast<std::size_t>(y - 1)];
    const std::string field = list_real(is_missing(value) ? kKnmiMissing : value);
    line.assign(1, ' ');
    append_list_int(&line, static_cast<long long>(earliest_first_year) + y - 1);
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
