#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <barrier>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <vector>

#include "common/large_arrays.h"
#include "common/parallel.h"
#include "statistics/position_samples.h"

namespace kvr {

/// Positions gathered per chunk by share_position_samples; series filled per piece of work
/// (a piece writes whole cache lines of the chunk's samples).
inline constexpr int kSharedPositionChunk = 512;
inline constexpr int kSharedSeriesPiece = 8;

/// Work arrays of share_position_samples, kept by a caller that walks more than once.
struct SharedPositionBuffer {
  LargeVector<double> block;  // position by position within the chunk, the active series of each
  std::vector<std::size_t> active;
  std::vector<std::vector<double>> runs;  // by worker: the runs of a piece's series
};

/// The values of every position first..last across the series, gathered on both cores, as
/// kKinds samples a position (say a series' indices and their residuals). Chunk by chunk of
/// positions, first fill(j, from, out) writes series j's values at the positions from,
/// from + 1, ... into out[k] for each kind k (spans of one length; every value, NaN for none),
/// for every series with values in the chunk (the series spread over the cores; each series'
/// runs come in rising order and cover its span within first..last once, so that fill may keep
/// state per series, a filter fed in order), then visit(position, samples, worker) for every
/// position of the chunk (spread over the cores, in no fixed order), with the values of each
/// kind the series have there in series order. visit may reorder the samples and writes only
/// what belongs to its position or to its worker (kWorkers of them), so the results do not
/// depend on the order.
template <std::size_t kKinds, typename Fill, typename Visit>
void share_position_sample_sets(std::span<const PositionSpan> spans, int first, int last,
                                Fill&& fill, Visit&& visit, SharedPositionBuffer* buffer) {
  using Spans = std::array<std::span<double>, kKinds>;
  const std::size_t series = spans.size();
  // A chunk, or all the positions when they are fewer: small sets zero no more than they use.
  // A chunk of several kinds has as many fewer positions, so that every walk's block is of one
  // size and a walk reuses the memory of the one before.
  constexpr int kChunk = kSharedPositionChunk / static_cast<int>(kKinds);
  const auto chunk = static_cast<std::size_t>(std::clamp(last - first + 1, 0, kChunk));
  const auto piece = static_cast<std::size_t>(kSharedSeriesPiece);
  buffer->block.resize(chunk * series * kKinds);
  buffer->runs.resize(static_cast<std::size_t>(kWorkers));
  for (std::vector<double>& runs : buffer->runs) runs.resize(piece * chunk * kKinds);
  buffer->active.reserve(series);

  // The chunk in hand, set between the phases by one thread while the others wait.
  int start = first;
  int end = first - 1;
  std::size_t width = 0;
  int pieces = 0;
  auto take_chunk = [&] {
    end = std::min(start + kChunk - 1, last);
    width = start <= last ? static_cast<std::size_t>(end - start + 1) : 0;
    buffer->active.clear();
    for (std::size_t j = 0; j < series && start <= last; ++j) {
      if (std::max(start, spans[j].first) <= std::min(end, spans[j].last)) {
        buffer->active.push_back(j);
      }
    }
    pieces = static_cast<int>((buffer->active.size() + piece - 1) / piece);
  };
  take_chunk();
  // Each chunk in two phases, every worker taking the next piece of work as it finishes one:
  // the pieces of series fill their runs and write them into the chunk's samples, then the
  // positions are visited. Between the phases, one thread starts the next phase's count and,
  // after the visits, takes the next chunk.
  std::atomic<int> next{0};
  bool filling = true;
  auto between_phases = [&]() noexcept {
    next.store(0);
    if (!filling) {
      start += kChunk;
      take_chunk();
    }
    filling = !filling;
  };
  // The walk stays on the calling thread when no chunk holds kSharedWorkCells values.
  const int workers = series * chunk * kKinds < kSharedWorkCells ? 1 : kWorkers;
  std::barrier phases(workers, between_phases);
  auto walk = [&](int worker) {
    while (start <= last) {
      const std::size_t active = buffer->active.size();
      // Each piece of series fills its runs of the chunk (NaN outside a series' span), then
      // writes them into the chunk's samples, where the series of a position stand side by
      // side, kind after kind: a piece fills whole cache lines, and each sample is contiguous.
      double* runs = buffer->runs[static_cast<std::size_t>(worker)].data();
      for (int index = next++; index < pieces; index = next++) {
        const std::size_t k0 = static_cast<std::size_t>(index) * piece;
        const std::size_t count = std::min(piece, active - k0);
        for (std::size_t s = 0; s < count; ++s) {
          const std::size_t j = buffer->active[k0 + s];
          const int from = std::max(start, spans[j].first);
          const int to = std::min(end, spans[j].last);
          Spans out;
          for (std::size_t k = 0; k < kKinds; ++k) {
            // NaN before and after the series' span; fill writes every value within it.
            double* run = runs + (s * kKinds + k) * chunk;
            const double nan = std::numeric_limits<double>::quiet_NaN();
            std::fill(run, run + (from - start), nan);
            std::fill(run + (to - start + 1), run + width, nan);
            out[k] =
                std::span<double>(run + (from - start), static_cast<std::size_t>(to - from + 1));
          }
          fill(j, from, out);
        }
        for (std::size_t b = 0; b < width; ++b) {
          for (std::size_t k = 0; k < kKinds; ++k) {
            double* sample = buffer->block.data() + (b * kKinds + k) * active + k0;
            for (std::size_t s = 0; s < count; ++s) sample[s] = runs[(s * kKinds + k) * chunk + b];
          }
        }
      }
      phases.arrive_and_wait();
      // Each position's samples are compacted in place to the values there are, in series
      // order, and visited.
      for (int b = next++; b < static_cast<int>(width); b = next++) {
        Spans samples;
        for (std::size_t k = 0; k < kKinds; ++k) {
          double* sample =
              buffer->block.data() + (static_cast<std::size_t>(b) * kKinds + k) * active;
          std::size_t n = 0;
          for (std::size_t a = 0; a < active; ++a) {
            const double v = sample[a];
            sample[n] = v;
            n += std::isnan(v) ? 0 : 1;
          }
          samples[k] = std::span<double>(sample, n);
        }
        visit(start + b, samples, worker);
      }
      phases.arrive_and_wait();
    }
  };
  if (workers == 1) {
    walk(0);
  } else {
    run_together([&] { walk(0); }, [&] { walk(1); });
  }
}

/// The walk of share_position_sample_sets with one sample a position: fill(j, from, out) and
/// visit(position, values, worker) take its one span.
template <typename Fill, typename Visit>
void share_position_samples(std::span<const PositionSpan> spans, int first, int last, Fill&& fill,
                            Visit&& visit, SharedPositionBuffer* buffer) {
  share_position_sample_sets<1>(
      spans, first, last,
      [&](std::size_t j, int from, const std::array<std::span<double>, 1>& out) {
        fill(j, from, out[0]);
      },
      [&](int position, const std::array<std::span<double>, 1>& values, int worker) {
        visit(position, values[0], worker);
      },
      buffer);
}

}  // namespace kvr
