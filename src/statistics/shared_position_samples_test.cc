#include "statistics/shared_position_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kvr {
namespace {

// Each position's sample as visited, and whether every series' runs came in rising order
// without a hole: the fill keeps the next position it expects for each series and writes
// values that depend on that state.
struct Walk {
  std::vector<std::vector<double>> samples;
  std::vector<char> out_of_order;  // by series
};

template <typename Run>
Walk walk(std::span<const PositionSpan> spans, int first, int last, Run&& run) {
  Walk result;
  result.samples.resize(static_cast<std::size_t>(last - first + 1));
  result.out_of_order.assign(spans.size(), 0);
  std::vector<int> next(spans.size());
  for (std::size_t j = 0; j < spans.size(); ++j) next[j] = std::max(first, spans[j].first);
  auto fill = [&](std::size_t j, int from, std::span<double> out) {
    if (from != next[j]) result.out_of_order[j] = 1;
    for (std::size_t k = 0; k < out.size(); ++k) {
      const int position = from + static_cast<int>(k);
      // Every seventh value of a series is missing.
      out[k] = (position + static_cast<int>(j)) % 7 == 0 ? std::nan("")
                                                         : static_cast<double>(j) + 1e-3 * position;
    }
    next[j] = from + static_cast<int>(out.size());
  };
  auto keep = [&](int position, std::span<const double> values) {
    result.samples[static_cast<std::size_t>(position - first)].assign(values.begin(), values.end());
  };
  run(fill, keep);
  return result;
}

TEST(SharedPositionSamplesTest, GivesTheSamplesOfTheWalkOnOneCore) {
  const struct {
    int series;
    int first, last;
  } cases[] = {{5, 1, 40}, {300, 1, 700}, {300, -20, 600}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.series);
    // Staggered spans, some empty or outside the walk.
    std::vector<PositionSpan> spans(static_cast<std::size_t>(c.series));
    for (int j = 0; j < c.series; ++j) {
      spans[static_cast<std::size_t>(j)] =
          j % 11 == 3 ? PositionSpan{} : PositionSpan{(j * 37) % 400 - 50, (j * 37) % 400 + 300};
    }
    // The plain walk: each series filled over its whole span at once, then each position's
    // values gathered in series order.
    const Walk plain = walk(spans, c.first, c.last, [&](auto& fill, auto& keep) {
      std::vector<std::vector<double>> rows(spans.size());
      for (std::size_t j = 0; j < spans.size(); ++j) {
        const int from = std::max(c.first, spans[j].first);
        const int to = std::min(c.last, spans[j].last);
        if (from > to) continue;
        rows[j].resize(static_cast<std::size_t>(to - from + 1));
        fill(j, from, std::span<double>(rows[j]));
      }
      for (int position = c.first; position <= c.last; ++position) {
        std::vector<double> values;
        for (std::size_t j = 0; j < spans.size(); ++j) {
          const int offset = position - std::max(c.first, spans[j].first);
          if (offset < 0 || offset >= static_cast<int>(rows[j].size())) continue;
          const double v = rows[j][static_cast<std::size_t>(offset)];
          if (!std::isnan(v)) values.push_back(v);
        }
        keep(position, values);
      }
    });
    const Walk shared = walk(spans, c.first, c.last, [&](auto& fill, auto& keep) {
      SharedPositionBuffer buffer;
      share_position_samples(
          spans, c.first, c.last, fill,
          [&](int position, std::span<double> values, int) { keep(position, values); }, &buffer);
    });
    // Two kinds a position: the values, and their negatives with other gaps.
    Walk negated;
    negated.samples.resize(shared.samples.size());
    const Walk both = walk(spans, c.first, c.last, [&](auto& fill, auto& keep) {
      SharedPositionBuffer buffer;
      share_position_sample_sets<2>(
          spans, c.first, c.last,
          [&](std::size_t j, int from, const std::array<std::span<double>, 2>& out) {
            fill(j, from, out[0]);
            for (std::size_t k = 0; k < out[1].size(); ++k) {
              out[1][k] = (from + static_cast<int>(k)) % 5 == 0 ? std::nan("") : -out[0][k];
            }
          },
          [&](int position, const std::array<std::span<double>, 2>& samples, int) {
            keep(position, samples[0]);
            negated.samples[static_cast<std::size_t>(position - c.first)].assign(samples[1].begin(),
                                                                                 samples[1].end());
          },
          &buffer);
    });
    const std::vector<char> in_order(spans.size(), 0);
    EXPECT_EQ(plain.out_of_order, in_order);
    EXPECT_EQ(shared.out_of_order, in_order);
    EXPECT_EQ(both.out_of_order, in_order);
    EXPECT_EQ(shared.samples, plain.samples);
    EXPECT_EQ(both.samples, plain.samples);
    // The second kind: the first's values of each position without those of every fifth
    // position, negated (a position's values share their gaps but for that).
    for (std::size_t p = 0; p < plain.samples.size(); ++p) {
      std::vector<double> expected;
      if ((c.first + static_cast<int>(p)) % 5 != 0) {
        for (const double v : plain.samples[p]) expected.push_back(-v);
      }
      EXPECT_EQ(negated.samples[p], expected) << "position " << c.first + static_cast<int>(p);
    }
  }
}

}  // namespace
}  // namespace kvr
