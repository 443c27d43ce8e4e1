#include "numeric/smoothing_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace kvr {
namespace {

// Four values and stiffness 4 (cos w = 0, p = 3): the system is [[10, -3], [-3, 10]] c =
// (1, -2), so c = (4, -17) / 91 and g = (-4, 25, 53, 17) / 91.
TEST(SmoothingSplineTest, FourValuesByHand) {
  const std::vector<double> g = cook_peters_spline(std::vector<double>{0, 0, 1, 0}, 4.0);
  const std::vector<double> expected = {-4.0 / 91, 25.0 / 91, 53.0 / 91, 17.0 / 91};
  ASSERT_EQ(g.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(g[i], expected[i], 1e-15) << i;
}

// A straight line has no second differences and stays as it is; shorter inputs are returned.
TEST(SmoothingSplineTest, LinesAndShortInputsStay) {
  std::vector<double> line;
  for (int i = 0; i < 30; ++i) line.push_back(2.0 - 0.1 * i);
  const std::vector<double> g = cook_peters_spline(line, 3.0);
  for (std::size_t i = 0; i < line.size(); ++i) EXPECT_NEAR(g[i], line[i], 1e-13) << i;
  EXPECT_EQ(cook_peters_spline(std::vector<double>{1, 5, 2}, 3.0), (std::vector<double>{1, 5, 2}));
}

// A wave of the stiffness period keeps half its amplitude away from the ends, and the sum of
// the values is kept everywhere.
TEST(SmoothingSplineTest, HalfTheAmplitudeAtTheStiffnessPeriod) {
  std::vector<double> wave;
  for (int i = 0; i < 400; ++i) wave.push_back(std::sin(2.0 * std::numbers::pi * i / 20.0));
  const std::vector<double> g = cook_peters_spline(wave, 20.0);
  double sum_in = 0.0, sum_out = 0.0;
  for (std::size_t i = 0; i < wave.size(); ++i) {
    sum_in += wave[i];
    sum_out += g[i];
    if (i >= 100 && i < 300) {
      EXPECT_NEAR(g[i], 0.5 * wave[i], 1e-9) << i;
    }
  }
  EXPECT_NEAR(sum_out, sum_in, 1e-11);
}

}  // namespace
}  // namespace kvr
