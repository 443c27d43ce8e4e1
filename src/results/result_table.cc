#include "results/result_table.h"

#include <ostream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "results/list_items.h"
#include "results/run_title.h"

namespace kvr {

void write_result_table(std::ostream& out, const MeasurementSet& set, const Grid<float>& by_year,
                        const Chronology& chronology, bool age_aligned,
                        const std::string& run_title) {
  out << '#' << alignment_text(age_aligned) << '\n';
  out << '#' << pad_right(run_title, 50) << '\n';

  const int series_count = set.count();
  out << " #yr\tSD\tAve\tRobM\t+2(se)\t-2(se)";
  for (int i = 1; i <= series_count; ++i) out << '\t' << pad_right_whole(set.info(i).id, 8);
  out << '\n';

  // The grid holds each series' years contiguously; the rows of the table run across the
  // series. Blocks of years are gathered series by series first, so that the grid is read in
  // its own order rather than a cache line per cell.
  constexpr int kBlock = 32;
  std::vector<float> block(static_cast<std::size_t>(kBlock) *
                           static_cast<std::size_t>(series_count));
  std::string line;
  for (int first = 1; first <= chronology.years(); first += kBlock) {
    const int last = std::min(chronology.years(), first + kBlock - 1);
    for (int i = 1; i <= series_count; ++i) {
      for (int y = first; y <= last; ++y) {
        // A cell outside the grid holds no value.
        block[static_cast<std::size_t>(y - first) * static_cast<std::size_t>(series_count) +
              static_cast<std::size_t>(i - 1)] = by_year.contains(i, y) ? by_year(i, y) : kMissing;
      }
    }
    for (int y = first; y <= last; ++y) {
      const std::size_t index = static_cast<std::size_t>(y - 1);
      line.assign(1, ' ');
      append_list_int(&line, static_cast<long long>(set.earliest_first_year) + y - 1);
      append_list_int(&line, chronology.sample_depth[index]);
      append_list_real(&line, chronology.average);
      append_list_real(&line, chronology.robust_mean[index]);
      append_list_real(&line, chronology.upper_band(y));
      append_list_real(&line, chronology.lower_band(y));
      const float* values = block.data() + static_cast<std::size_t>(y - first) *
                                               static_cast<std::size_t>(series_count);
      for (int i = 0; i < series_count; ++i) append_list_real(&line, values[i]);
      line += '\n';
      out << line;
    }
  }
}

}  // namespace kvr
