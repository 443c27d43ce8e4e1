#include "statistics/pair_correlations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/dimensions.h"

namespace kvr {
namespace {

// The tally of positions from..to computed pair by pair, each correlation in two passes over
// the common years.
CorrelationTally plain_tally(const Grid<float>& g, int rows, int from, int to) {
  CorrelationTally t;
  t.members.assign(static_cast<std::size_t>(rows + 1), 0);
  for (int i = 1; i <= rows; ++i) {
    for (int j = i + 1; j <= rows; ++j) {
      std::vector<int> common;
      for (int p = from; p <= std::min(to, g.cols()); ++p) {
        if (!is_missing(g(i, p)) && !is_missing(g(j, p))) common.push_back(p);
      }
      if (static_cast<int>(common.size()) < kSignalMinCommonYears) continue;
      double mx = 0.0, my = 0.0;
      for (int p : common) {
        mx += g(i, p);
        my += g(j, p);
      }
      mx /= static_cast<double>(common.size());
      my /= static_cast<double>(common.size());
      double sxy = 0.0, sxx = 0.0, syy = 0.0;
      for (int p : common) {
        sxy += (g(i, p) - mx) * (g(j, p) - my);
        sxx += (g(i, p) - mx) * (g(i, p) - mx);
        syy += (g(j, p) - my) * (g(j, p) - my);
      }
      if (sxx < 1e-9 || syy < 1e-9) continue;
      t.sum += sxy / std::sqrt(sxx * syy);
      ++t.pairs;
      t.members[static_cast<std::size_t>(i)] = 1;
      t.members[static_cast<std::size_t>(j)] = 1;
    }
  }
  return t;
}

void expect_same(const CorrelationTally& kernel, const CorrelationTally& plain, int stretch) {
  EXPECT_EQ(kernel.pairs, plain.pairs) << "stretch " << stretch;
  EXPECT_NEAR(kernel.sum, plain.sum, 1e-10 * (1.0 + plain.pairs)) << "stretch " << stretch;
  EXPECT_EQ(kernel.members, plain.members) << "stretch " << stretch;
}

// Each case a set of series whose spans, gaps and constant stretches put pairs on both sides
// of every rule the kernel keeps apart: full blocks and blocks with gaps, fewer or more than
// 30 common years, groups of rows that reach past the last row, several tiles of rows, a last
// block shorter than the others, and a span too short for any window. The small jobs run as one
// part; the last is large enough for two parts on both cores, with more tiles than are handed
// over at a time.
TEST(PairCorrelationsTest, MatchesThePlainComputation) {
  struct Case {
    int rows;
    int years;
    bool gaps;  // random stretches and single years missing
  };
  const Case cases[] = {{2, 40, false},  {9, 163, true},  {13, 260, false},
                        {41, 151, true}, {70, 126, true}, {150, 260, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rows << " rows over " << c.years << " years");
    std::mt19937 random(static_cast<unsigned>(c.rows * 1000 + c.years));
    std::uniform_real_distribution<float> width(0.2f, 3.0f);
    std::uniform_int_distribution<int> position(1, c.years);
    Grid<float> grid(c.rows, c.years, kMissing);
    for (int i = 1; i <= c.rows; ++i) {
      int first = 1;
      int last = c.years;
      if (c.gaps && i % 3 != 0) {
        first = position(random);
        last = position(random);
        if (first > last) std::swap(first, last);
      }
      for (int p = first; p <= last; ++p) grid(i, p) = i % 7 == 4 ? 1.25f : width(random);
      for (int k = 0; c.gaps && k < 5; ++k) grid(i, position(random)) = kMissing;
    }
    const int windows = c.years >= 50 ? (c.years - 50) / 25 + 1 : 0;
    const PairCorrelations kernel = pair_correlations(grid, c.rows, c.years, windows);
    expect_same(kernel.whole, plain_tally(grid, c.rows, 1, c.years), 0);
    ASSERT_EQ(kernel.windows.size(), static_cast<std::size_t>(windows));
    for (int k = 0; k < windows; ++k) {
      expect_same(kernel.windows[static_cast<std::size_t>(k)],
                  plain_tally(grid, c.rows, 25 * k + 1, 25 * k + 50), k + 1);
    }
    // The same sums to the bit on a second run, whatever the threads did.
    EXPECT_EQ(pair_correlations(grid, c.rows, c.years, windows).whole.sum, kernel.whole.sum);
  }
}

}  // namespace
}  // namespace kvr
