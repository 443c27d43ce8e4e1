#include "statistics/residual_rank_chronology.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "common/dimensions.h"
#include "residual_rank_model.h"

namespace kvr {
namespace {

// Series of AR(1)-like values with gaps, staggered, some too short to prewhiten, on grids small
// enough for one core and large enough to be shared out: the chronology is the plain model's.
TEST(ResidualRankChronologyTest, AgreesWithThePlainModel) {
  const struct {
    int series;
    int years;
  } cases[] = {{12, 90}, {160, 700}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.series);
    std::mt19937 rng(static_cast<unsigned>(c.series));
    std::normal_distribution<float> noise(0.0f, 0.2f);
    Grid<float> grid(c.series, c.years, kMissing);
    for (int i = 1; i <= c.series; ++i) {
      const int first = 1 + (i * 31) % (c.years / 3);
      const int last = i % 9 == 4 ? first + 2 : c.years - (i * 17) % (c.years / 4);
      float value = 1.0f;
      for (int y = first; y <= last; ++y) {
        value = 1.0f + 0.6f * (value - 1.0f) + noise(rng);
        if ((y + i) % 13 != 0) grid(i, y) = value;
      }
    }
    const ResidualRankChronology chronology = residual_rank_chronology(grid, c.series, c.years);
    const Chronology model = test::modelled_residual_chronology(grid, c.series, c.years);
    ASSERT_EQ(chronology.robust_mean.size(), model.robust_mean.size());
    EXPECT_EQ(chronology.sample_depth, model.sample_depth);
    for (std::size_t y = 0; y < model.robust_mean.size(); ++y) {
      if (is_missing(model.robust_mean[y])) {
        EXPECT_TRUE(is_missing(chronology.robust_mean[y])) << y;
      } else {
        EXPECT_NEAR(chronology.robust_mean[y], model.robust_mean[y], 1e-5f) << y;
      }
    }
  }
}

}  // namespace
}  // namespace kvr
