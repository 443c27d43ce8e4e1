#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <vector>

namespace kvr {

/// The positions (years or ages) at which one series may have a value, first..last.
struct PositionSpan {
  int first = 0;
  int last = -1;
};

/// Work arrays of for_each_position_sample, kept by a caller that walks more than once.
struct PositionSampleBuffer {
  std::vector<double> block;  // series by position within the block, series after series
  std::vector<std::size_t> active;
  std::vector<double> values;
  std::vector<int> owners;
};

/// Positions gathered per sweep over the series: each series is read in runs of this many
/// contiguous values, which keeps the walk over a large set cache-friendly.
inline constexpr int kPositionBlock = 32;

/// Calls visit(position, values, owners) for each position first..last in order, with the
/// values that the series have there (in series order) and the index of the series (from 0)
/// of each; visit may reorder `values` when it has no use for `owners`. The values come from
/// fill(j, from, out), which writes series j's values at the positions from, from + 1, ...
/// into out (NaN: no value); it is called for runs of consecutive positions that together
/// cover spans[j] within first..last once, in rising order for each series, so that it may
/// keep state per series (a filter fed in order).
template <typename Fill, typename Visit>
void for_each_position_sample(std::span<const PositionSpan> spans, int first, int last, Fill&& fill,
                              Visit&& visit, PositionSampleBuffer* buffer) {
  const std::size_t series = spans.size();
  const auto block = static_cast<std::size_t>(kPositionBlock);
  buffer->block.resize(block * series);
  buffer->values.resize(series);
  buffer->owners.resize(series);
  for (int start = first; start <= last; start += kPositionBlock) {
    const int end = std::min(start + kPositionBlock - 1, last);
    // Each series' run of the block is written in place, row by row; positions outside its
    // span are NaN.
    buffer->active.clear();
    for (std::size_t j = 0; j < series; ++j) {
      const int from = std::max(start, spans[j].first);
      const int to = std::min(end, spans[j].last);
      if (from > to) continue;
      buffer->active.push_back(j);
      double* row = buffer->block.data() + j * block;
      std::fill(row, row + (end - start + 1), std::numeric_limits<double>::quiet_NaN());
      fill(j, from,
           std::span<double>(row + (from - start), static_cast<std::size_t>(to - from + 1)));
    }
    for (int position = start; position <= end; ++position) {
      const auto b = static_cast<std::size_t>(position - start);
      std::size_t n = 0;
      for (const std::size_t j : buffer->active) {
        const double v = buffer->block[j * block + b];
        buffer->values[n] = v;
        buffer->owners[n] = static_cast<int>(j);
        n += std::isnan(v) ? 0 : 1;
      }
      visit(position, std::span<double>(buffer->values.data(), n),
            std::span<const int>(buffer->owners.data(), n));
    }
  }
}

}  // namespace kvr
