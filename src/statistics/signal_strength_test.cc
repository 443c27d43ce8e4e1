#include "statistics/signal_strength.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/dimensions.h"

namespace kvr {
namespace {

std::string text(const std::optional<double>& v) {
  char out[32];
  std::snprintf(out, sizeof out, "%.10g", v.value_or(NAN));
  return out;
}

std::string text(const SignalFigures& f) {
  return std::to_string(f.series) + " " + std::to_string(f.pairs) + " " + text(f.rbar) + " " +
         text(f.eps) + " " + text(f.snr);
}

// Row `row` from position `first` on: `count` values of `random` (0.2 to 3), or of `constant`.
void put(Grid<float>* grid, int row, int first, int count, std::mt19937* random,
         float constant = 0.0f) {
  std::uniform_real_distribution<float> width(0.2f, 3.0f);
  for (int p = first; p < first + count; ++p) (*grid)(row, p) = random ? width(*random) : constant;
}

// The figures of positions from..to computed directly, each correlation in two passes.
SignalFigures direct_figures(const Grid<float>& g, int from, int to) {
  double sum = 0.0;
  int pairs = 0;
  std::set<int> members;
  for (int i = 1; i <= g.rows(); ++i) {
    for (int j = i + 1; j <= g.rows(); ++j) {
      double n = 0, mx = 0, my = 0, sxy = 0, sxx = 0, syy = 0;
      auto both = [&](int p) { return !is_missing(g(i, p)) && !is_missing(g(j, p)); };
      for (int p = from; p <= to; ++p) {
        if (!both(p)) continue;
        n += 1.0;
        mx += g(i, p);
        my += g(j, p);
      }
      if (n < 30) continue;
      mx /= n;
      my /= n;
      for (int p = from; p <= to; ++p) {
        if (!both(p)) continue;
        sxy += (g(i, p) - mx) * (g(j, p) - my);
        sxx += (g(i, p) - mx) * (g(i, p) - mx);
        syy += (g(j, p) - my) * (g(j, p) - my);
      }
      if (sxx == 0.0 || syy == 0.0) continue;
      sum += sxy / std::sqrt(sxx * syy);
      ++pairs;
      members.insert({i, j});
    }
  }
  return signal_figures(sum, pairs, static_cast<int>(members.size()));
}

TEST(SignalFiguresTest, FormulasAndReliableFrom) {
  // EPS = 2 0.6 / (0.6 + 1), SNR = 2 0.6 / 0.4; rbar 1 leaves SNR unbounded, rbar -1 of two
  // series EPS.
  EXPECT_EQ(text(signal_figures(0.6, 1, 2)), "2 1 0.6 0.75 3");
  EXPECT_EQ(text(signal_figures(0.0, 0, 0)), "0 0 nan nan nan");
  EXPECT_EQ(text(signal_figures(2.0, 2, 3)), "3 2 1 1 nan");
  EXPECT_EQ(text(signal_figures(-1.0, 1, 2)), "2 1 -1 nan -1");
  // SSS at full depth, at depth 2 of 4 (5/6), and in a year without series.
  EXPECT_EQ(text(subsample_signal_strength(4, 4, 0.5)), "1");
  EXPECT_EQ(text(subsample_signal_strength(2, 4, 0.5)), "0.8333333333");
  EXPECT_EQ(text(subsample_signal_strength(0, 4, 0.5)), "0");
  EXPECT_EQ(text(subsample_signal_strength(0, 4, 1.0)), "nan");

  using Values = std::vector<std::optional<double>>;
  EXPECT_EQ(reliable_from(Values{0.9, 0.8, 0.86, 0.9}), 2);
  EXPECT_EQ(reliable_from(Values{0.85, 0.9}), 0);  // 0.85 itself counts
  EXPECT_EQ(reliable_from(Values{0.9, 0.9, 0.84}), std::nullopt);
  EXPECT_EQ(reliable_from(Values{0.9, std::nullopt, 0.9}), 2);  // a missing value breaks it
  EXPECT_EQ(reliable_from(Values{}), std::nullopt);
}

// Values 1 and 2, 15 of each: x is 2 in years 1-15, y in years 1-12 and 16-18. They agree in
// 24 years and differ in 6, so r = (24 - 6) / 30 = 0.6. Shifted by a year they share 29 years
// and are left out.
TEST(SignalStrengthTest, KnownPairAndThirtyCommonYears) {
  for (const int shift : {0, 1}) {
    Grid<float> grid(2, 31, kMissing);
    put(&grid, 1, 1, 30, nullptr, 1.0f);
    put(&grid, 1, 1, 15, nullptr, 2.0f);
    put(&grid, 2, 1 + shift, 30, nullptr, 1.0f);
    put(&grid, 2, 1 + shift, 12, nullptr, 2.0f);
    put(&grid, 2, 16 + shift, 3, nullptr, 2.0f);
    const SignalStrength s = signal_strength(grid, 2, 31, std::vector<int>(31, 2));
    // Full depth every year: SSS 1 throughout, reliable from the first year.
    EXPECT_EQ(text(s.whole), shift == 0 ? "2 1 0.6 0.75 3" : "0 0 nan nan nan");
    EXPECT_EQ(text(s.sss[15]), shift == 0 ? "1" : "nan");
    EXPECT_EQ(s.sss_reliable_from, shift == 0 ? std::optional<int>(1) : std::nullopt);
    EXPECT_TRUE(s.windows.empty());  // 31 years hold no 50-year window
  }
  // One series alone: no pair, no SSS.
  Grid<float> one(1, 60, 1.5f);
  const SignalStrength s = signal_strength(one, 1, 60, std::vector<int>(60, 1));
  EXPECT_EQ(text(s.whole) + " " + text(s.windows[0].figures) + " " + text(s.sss[0]),
            "0 0 nan nan nan 0 0 nan nan nan nan");
}

// Two series that mirror each other up to position 50 and agree from there on: the windows
// from position 51 on have EPS 1, the ones before less (or none, at rbar -1).
TEST(SignalStrengthTest, EpsReliableFromTheStartOfAWindow) {
  Grid<float> grid(2, 125, kMissing);
  std::mt19937 random(3);
  put(&grid, 1, 1, 125, &random);
  for (int p = 1; p <= 125; ++p) grid(2, p) = p <= 50 ? 4.0f - grid(1, p) : grid(1, p) + 1.0f;
  const SignalStrength s = signal_strength(grid, 2, 125, std::vector<int>(125, 2));
  EXPECT_EQ(text(s.windows[0].figures), "2 1 -1 nan -1");
  EXPECT_EQ(s.eps_reliable_from, 51);
}

// Series of different spans with gaps, one constant, and one constant over its first 50
// years (all the years it shares with series 9), over a span whose last block is partial:
// every figure matches the direct computation.
TEST(SignalStrengthTest, MatchesDirectComputationWithGapsAndConstantSeries) {
  constexpr int kYears = 163;
  std::mt19937 random(20240611);
  Grid<float> grid(9, kYears, kMissing);
  const int spans[][2] = {{1, 163}, {1, 120}, {20, 163}, {40, 110}, {3, 160}, {90, 163}};
  for (int i = 1; i <= 6; ++i)
    put(&grid, i, spans[i - 1][0], spans[i - 1][1] - spans[i - 1][0] + 1, &random);
  for (const int p : {7, 33, 34, 35, 77, 126, 150}) grid(2 + p % 3, p) = kMissing;
  put(&grid, 7, 1, kYears, nullptr, 1.25f);
  put(&grid, 8, 1, 50, nullptr, 0.8f);
  put(&grid, 8, 51, kYears - 50, &random);
  put(&grid, 9, 1, 37, &random);
  std::vector<int> depth(kYears, 0);
  for (int i = 1; i <= 9; ++i) {
    for (int p = 1; p <= kYears; ++p)
      depth[static_cast<std::size_t>(p - 1)] += !is_missing(grid(i, p));
  }
  const SignalStrength s = signal_strength(grid, 9, kYears, depth);

  EXPECT_EQ(text(s.whole), text(direct_figures(grid, 1, kYears)));
  EXPECT_EQ(s.whole.series, 8);  // series 7 enters no pair
  std::string layout;
  for (const SignalWindow& w : s.windows) {
    layout += std::to_string(w.first) + "-" + std::to_string(w.last) + " ";
    EXPECT_EQ(text(w.figures), text(direct_figures(grid, w.first, w.last))) << w.first;
  }
  EXPECT_EQ(layout, "1-50 26-75 51-100 76-125 101-150 ");  // the last one ending within
  for (int y = 1; y <= kYears; y += 9) {
    const std::size_t k = static_cast<std::size_t>(y - 1);
    EXPECT_EQ(s.sss[k], subsample_signal_strength(depth[k], 9, *s.whole.rbar));
  }
}

}  // namespace
}  // namespace kvr
