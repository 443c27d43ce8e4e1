#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
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
  std::vector<double> run;
  std::vector<double> values;
  std::vector<int> owners;
  std::vector<int> depth;
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
  const std::size_t block = static_cast<std::size_t>(kPositionBlock);
  buffer->values.resize(block * series);
  buffer->owners.resize(block * series);
  buffer->depth.resize(block);
  buffer->run.resize(block);
  for (int start = first; start <= last; start += kPositionBlock) {
    const int end = std::min(start + kPositionBlock - 1, last);
    std::fill(buffer->depth.begin(), buffer->depth.end(), 0);
    for (std::size_t j = 0; j < series; ++j) {
      const int from = std::max(start, spans[j].first);
      const int to = std::min(end, spans[j].last);
      if (from > to) continue;
      const std::span<double> run(buffer->run.data(), static_cast<std::size_t>(to - from + 1));
      fill(j, from, run);
      for (int position = from; position <= to; ++position) {
        const double v = run[static_cast<std::size_t>(position - from)];
        if (std::isnan(v)) continue;
        const auto b = static_cast<std::size_t>(position - start);
        const auto k = static_cast<std::size_t>(buffer->depth[b]++);
        buffer->values[b * series + k] = v;
        buffer->owners[b * series + k] = static_cast<int>(j);
      }
    }
    for (int position = start; position <= end; ++position) {
      const auto b = static_cast<std::size_t>(position - start);
      const auto n = static_cast<std::size_t>(buffer->depth[b]);
      visit(position, std::span<double>(buffer->values.data() + b * series, n),
            std::span<const int>(buffer->owners.data() + b * series, n));
    }
  }
}

}  // namespace kvr
