#include "statistics/series_report_years.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "common/large_arrays.h"
#include "common/parallel.h"
#include "statistics/leave_one_out.h"

namespace kvr {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Years of a block whose masters one worker computes in a row: 16 doubles, two cache lines.
constexpr int kYearRun = 16;
// Values of a block of a walk that stays on one core: two arrays of 32 KiB.
constexpr std::size_t kSmallBlockCells = 4096;

// One worker's arrays: a run of years copied out of the rows year by year (the values of the
// active series of each year side by side) with their masters, and the sample of one year.
struct YearScratch {
  std::vector<double> run_values;
  std::vector<double> run_masters;
  std::vector<double> values;
  std::vector<double> masters;
  std::vector<std::size_t> at;  // of each sample value: its place among the active series
  LeaveOneOutWorkspace loo;
};

}  // namespace

void for_each_master_block(
    std::span<const PositionSpan> spans, int first, int last,
    const std::function<void(std::size_t j, int from, std::span<double> out)>& fill,
    const std::function<void(std::size_t j, const MasterBlock& block)>& take) {
  const std::size_t series = spans.size();
  const auto span = static_cast<std::size_t>(std::max(last - first + 1, 0));
  // A walk too small to share between the cores takes blocks of about kSmallBlockCells values,
  // which stay in the cache and reuse the pages of the block before. A larger walk takes blocks
  // of kMasterBlock years (all of them when the walk is shorter), which both cores share.
  const bool small = series * span < kSharedWorkCells;
  std::size_t row = std::min(span, static_cast<std::size_t>(kMasterBlock));  // years of a block
  if (small && series > 0) {
    row = std::min(row, std::max(kSmallBlockCells / series, std::size_t{kYearRun}));
  }
  LargeVector<double> values(row * series);
  LargeVector<double> masters(row * series);
  std::vector<std::size_t> active;
  // A small walk stays on the calling thread: the other worker's arrays are never used.
  std::array<YearScratch, kWorkers> scratch;
  for (std::size_t w = 0; w < (small ? 1 : scratch.size()); ++w) {
    YearScratch& s = scratch[w];
    s.run_values.resize(series * kYearRun);
    s.run_masters.resize(series * kYearRun);
    s.values.resize(series);
    s.masters.resize(series);
    s.at.resize(series);
  }

  const int step = static_cast<int>(std::max(row, std::size_t{1}));
  for (int start = first; start <= last; start += step) {
    const int end = std::min(start + step - 1, last);
    const auto width = static_cast<std::size_t>(end - start + 1);
    active.clear();
    for (std::size_t j = 0; j < series; ++j) {
      if (std::max(start, spans[j].first) <= std::min(end, spans[j].last)) active.push_back(j);
    }
    // Blocks of few values stay on the calling thread (share_out).
    const std::size_t cells = active.size() * width;
    // Each active series' row: NaN outside its span, its values within.
    share_out(static_cast<int>(active.size()), cells, [&](int a, int) {
      const std::size_t j = active[static_cast<std::size_t>(a)];
      double* values_row = values.data() + j * row;
      std::fill(values_row, values_row + width, kNaN);
      const int from = std::max(start, spans[j].first);
      const int to = std::min(end, spans[j].last);
      fill(j, from,
           std::span<double>(values_row + (from - start), static_cast<std::size_t>(to - from + 1)));
    });
    // The masters of each year, taken in runs of kYearRun years: a run is copied out of the
    // rows and its masters back into them a row at a time, so that the rows are read and
    // written along their cache lines, and either worker can take over the other's runs.
    const int runs = (static_cast<int>(width) + kYearRun - 1) / kYearRun;
    const std::size_t count = active.size();
    share_out(runs, cells, [&](int run, int worker) {
      YearScratch& s = scratch[static_cast<std::size_t>(worker)];
      const auto from = static_cast<std::size_t>(run * kYearRun);
      const std::size_t years = std::min(width - from, static_cast<std::size_t>(kYearRun));
      for (std::size_t a = 0; a < count; ++a) {
        const double* in = values.data() + active[a] * row + from;
        for (std::size_t t = 0; t < years; ++t) s.run_values[t * count + a] = in[t];
      }
      for (std::size_t t = 0; t < years; ++t) {
        const double* year_values = s.run_values.data() + t * count;
        double* year_masters = s.run_masters.data() + t * count;
        std::size_t n = 0;
        for (std::size_t a = 0; a < count; ++a) {
          const double v = year_values[a];
          year_masters[a] = kNaN;
          s.values[n] = v;
          s.at[n] = a;
          n += std::isnan(v) ? 0 : 1;
        }
        leave_one_out_tbrm(std::span<const double>(s.values.data(), n),
                           std::span<double>(s.masters.data(), n), &s.loo);
        for (std::size_t k = 0; k < n; ++k) year_masters[s.at[k]] = s.masters[k];
      }
      for (std::size_t a = 0; a < count; ++a) {
        double* out = masters.data() + active[a] * row + from;
        for (std::size_t t = 0; t < years; ++t) out[t] = s.run_masters[t * count + a];
      }
    });
    const MasterBlock block(start, end, row, values.data(), masters.data());
    share_out(static_cast<int>(series), cells,
              [&](int j, int) { take(static_cast<std::size_t>(j), block); });
  }
}

}  // namespace kvr
