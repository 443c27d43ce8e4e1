#include "numeric/tbrm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kvr {
namespace {

// Samples worked out by hand (in 40-digit arithmetic): an odd and an even sample, outliers past
// nine median absolute deviations left out, a constant sample and a single value.
TEST(TbrmTest, HandWorkedSamples) {
  const struct {
    std::vector<double> x;
    double expected;
  } cases[] = {
      {{1, 2, 3, 4, 100}, 2.5311190124060694},      // 100 lies 97 MADs out
      {{7, 1, 4, 2}, 3.3757345912205365},           // median 3, MAD 1.5
      {{1, 1, 1, 2, 50, -40}, 1.2314930583476517},  // MAD 0.5: only 2 keeps a weight below 1
      {{2.5, 2.5, 2.5, 2.5}, 2.5},                  // MAD 0: the floor of the scale
      {{3.0}, 3.0},
  };
  TbrmWork work;
  for (const auto& c : cases) {
    std::vector<double> x = c.x;
    EXPECT_NEAR(tbrm(x, &work), c.expected, 1e-15 * std::fabs(c.expected)) << c.x.size();
  }
  std::vector<double> empty;
  EXPECT_TRUE(std::isnan(tbrm(empty, &work)));
}

// A TbrmWork carried from sample to sample (its last MAD now close to, now far from the next
// one's) gives the bits of a fresh start.
TEST(TbrmTest, CarriedWorkGivesTheSameBits) {
  TbrmWork work;
  for (int step = 0; step < 12; ++step) {
    std::vector<double> x;
    for (int i = 0; i < 300 + step; ++i) {
      x.push_back(((i * 37 + step * 11) % 101) * (step % 4 == 3 ? 10.0 : 0.01 * (step + 1)));
    }
    std::vector<double> y = x;
    TbrmWork fresh;
    EXPECT_EQ(tbrm(x, &work), tbrm(y, &fresh)) << step;
  }
}

}  // namespace
}  // namespace kvr
