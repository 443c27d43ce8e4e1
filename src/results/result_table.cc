#include "results/result_table.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "results/list_items.h"
#include "results/pieces_in_turn.h"
#include "results/run_title.h"

namespace kvr {
namespace {

// Years of the table formatted as one piece.
constexpr int kPiece = 256;

// Appends the rows of years first..last. The grid holds each series' years contiguously; the
// rows of the table run across the series. Blocks of years are gathered series by series
// first, so that the grid is read in its own order rather than a cache line per cell.
void append_rows(const MeasurementSet& set, const Grid<float>& by_year,
                 const Chronology& chronology, int from, int to, std::string* text) {
  constexpr int kBlock = 32;
  const int series_count = set.count();
  std::vector<float> block(static_cast<std::size_t>(kBlock) *
                           static_cast<std::size_t>(series_count));
  // Room for a row: a blank, the six items of the chronology, one per series, the line end.
  std::vector<char> row((static_cast<std::size_t>(series_count) + 6) * kListItemRoom + 2);
  // Room for the rows at once, at the width most items take: the text then seldom moves.
  constexpr std::size_t kUsualItem = 12;
  text->reserve(text->size() + static_cast<std::size_t>(to - from + 1) *
                                   ((static_cast<std::size_t>(series_count) + 6) * kUsualItem + 2));
  for (int first = from; first <= to; first += kBlock) {
    const int last = std::min(to, first + kBlock - 1);
    for (int i = 1; i <= series_count; ++i) {
      for (int y = first; y <= last; ++y) {
        // A cell outside the grid holds no value.
        block[static_cast<std::size_t>(y - first) * static_cast<std::size_t>(series_count) +
              static_cast<std::size_t>(i - 1)] = by_year.contains(i, y) ? by_year(i, y) : kMissing;
      }
    }
    for (int y = first; y <= last; ++y) {
      const std::size_t index = static_cast<std::size_t>(y - 1);
      char* p = row.data();
      *p++ = ' ';
      p = put_list_int(p, static_cast<long long>(set.earliest_first_year) + y - 1);
      p = put_list_int(p, chronology.sample_depth[index]);
      p = put_list_real(p, chronology.average);
      p = put_list_real(p, chronology.robust_mean[index]);
      p = put_list_real(p, chronology.upper_band(y));
      p = put_list_real(p, chronology.lower_band(y));
      const float* values = block.data() + static_cast<std::size_t>(y - first) *
                                               static_cast<std::size_t>(series_count);
      for (int i = 0; i < series_count; ++i) p = put_list_real(p, values[i]);
      *p++ = '\n';
      text->append(row.data(), p);
    }
  }
}

}  // namespace

void write_result_table(std::ostream& out, const MeasurementSet& set, const Grid<float>& by_year,
                        const Chronology& chronology, bool age_aligned,
                        const std::string& run_title) {
  out << '#' << alignment_text(age_aligned) << '\n';
  out << '#' << pad_right(run_title, 50) << '\n';

  const int series_count = set.count();
  out << " #yr\tSD\tAve\tRobM\t+2(se)\t-2(se)";
  for (int i = 1; i <= series_count; ++i) out << '\t' << pad_right_whole(set.info(i).id, 8);
  out << '\n';

  // The table is written in pieces of kPiece years, formatted on every core at once.
  const int pieces = (chronology.years() + kPiece - 1) / kPiece;
  write_pieces_in_turn(out, pieces, [&](int piece, std::string* text) {
    const int first = 1 + piece * kPiece;
    append_rows(set, by_year, chronology, first, std::min(chronology.years(), first + kPiece - 1),
                text);
  });
}

}  // namespace kvr
