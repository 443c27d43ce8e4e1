#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <vector>

#include "common/parallel.h"
#include "statistics/position_samples.h"

namespace kvr {

/// Positions gathered per chunk by share_position_samples; series filled per piece of work
/// (a piece writes whole cache lines of the chunk's samples).
inline constexpr int kSharedPositionChunk = 512;
inline constexpr int kSharedSeriesPiece = 8;

/// Work arrays of share_position_samples, kept by a caller that walks more than once.
struct SharedPositionBuffer {
  std::vector<double> block;  // position by position within the chunk, the active series of each
  std::vector<std::size_t> active;
  std::vector<std::vector<double>> runs;  // by worker: the runs of a piece's series
};

/// The values of every position first..last across the series, gathered on both cores. Chunk
/// by chunk of positions, first fill(j, from, out) writes series j's values at the positions
/// from, from + 1, ... into out (NaN: no value), for every series with values in the chunk
/// (the series spread over the cores; each series' runs come in rising order and cover its
/// span within first..last once, so that fill may keep state per series, a filter fed in
/// order), then visit(position, values, worker) for every position
/// of the chunk (spread over the cores, in no fixed order), with the values the series have
/// there in series order. visit may reorder `values` and writes only what belongs to its
/// position or to its worker (kWorkers of them), so the results do not depend on the order.
template <typename Fill, typename Visit>
void share_position_samples(std::span<const PositionSpan> spans, int first, int last, Fill&& fill,
                            Visit&& visit, SharedPositionBuffer* buffer) {
  const std::size_t series = spans.size();
  // A chunk, or all the positions when they are fewer: small sets zero no more than they use.
  const auto chunk =
      static_cast<std::size_t>(std::clamp(last - first + 1, 0, kSharedPositionChunk));
  const auto piece = static_cast<std::size_t>(kSharedSeriesPiece);
  buffer->block.resize(chunk * series);
  buffer->runs.resize(static_cast<std::size_t>(kWorkers));
  for (std::vector<double>& runs : buffer->runs) runs.resize(piece * chunk);
  for (int start = first; start <= last; start += kSharedPositionChunk) {
    const int end = std::min(start + kSharedPositionChunk - 1, last);
    const auto width = static_cast<std::size_t>(end - start + 1);
    buffer->active.clear();
    for (std::size_t j = 0; j < series; ++j) {
      if (std::max(start, spans[j].first) <= std::min(end, spans[j].last)) {
        buffer->active.push_back(j);
      }
    }
    const std::size_t active = buffer->active.size();
    const std::size_t cells = active * width;
    // Each piece of series fills its runs of the chunk (NaN outside a series' span), then
    // writes them into the chunk's samples, where the series of a position stand side by
    // side: a piece fills whole cache lines, and each position's sample is contiguous.
    const int pieces = static_cast<int>((active + piece - 1) / piece);
    share_out(pieces, cells, [&](int index, int worker) {
      double* runs = buffer->runs[static_cast<std::size_t>(worker)].data();
      const std::size_t k0 = static_cast<std::size_t>(index) * piece;
      const std::size_t count = std::min(piece, active - k0);
      for (std::size_t s = 0; s < count; ++s) {
        const std::size_t j = buffer->active[k0 + s];
        const int from = std::max(start, spans[j].first);
        const int to = std::min(end, spans[j].last);
        double* run = runs + s * chunk;
        std::fill(run, run + width, std::numeric_limits<double>::quiet_NaN());
        fill(j, from,
             std::span<double>(run + (from - start), static_cast<std::size_t>(to - from + 1)));
      }
      for (std::size_t b = 0; b < width; ++b) {
        double* sample = buffer->block.data() + b * active + k0;
        for (std::size_t s = 0; s < count; ++s) sample[s] = runs[s * chunk + b];
      }
    });
    // Each position's sample is compacted in place to the values there are, in series order.
    share_out(static_cast<int>(width), cells, [&](int b, int worker) {
      double* sample = buffer->block.data() + static_cast<std::size_t>(b) * active;
      std::size_t n = 0;
      for (std::size_t k = 0; k < active; ++k) {
        const double v = sample[k];
        sample[n] = v;
        n += std::isnan(v) ? 0 : 1;
      }
      visit(start + b, std::span<double>(sample, n), worker);
    });
  }
}

}  // namespace kvr
