#include "numeric/t_distribution.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kvr {
namespace {

// Upper tails computed with 40-digit arithmetic, from 1 to 10^4 degrees of freedom and down to
// 1e-210; each is matched to 1e-10 of itself.
TEST(TDistributionTest, UpperTailsAgreeWithHighPrecisionValues) {
  const struct {
    double df;
    double t;
    double tail;
  } cases[] = {
      {1, 0.5, 0.35241638234956673},        {1, 1e15, 3.1830988618379067e-16},
      {2, 3, 0.047732983133354566},         {5, -1.5, 0.90304815987876328},
      {30, 2.0, 0.027312522481491552},      {30, 25, 6.0459111906435132e-22},
      {1000, 1.0, 0.15877620904233615},     {1000, 40, 5.2394260775866805e-210},
      {10000, 0.05, 0.48006169345540489},   {10000, 12, 2.9898898039056626e-33},
      {10000, 30, 1.0221635237127853e-189},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(student_t_upper_tail(c.t, c.df), c.tail, 1e-10 * c.tail)
        << "df " << c.df << " t " << c.t;
  }
  EXPECT_EQ(student_t_upper_tail(0.0, 7), 0.5);
  EXPECT_EQ(student_t_upper_tail(INFINITY, 7), 0.0);
  EXPECT_TRUE(std::isnan(student_t_upper_tail(1.0, 0.0)));
}

// I_x(a, b) at its ends and where it has a closed form: I_x(a, 1) = x^a, I_x(1, b) = 1 - (1-x)^b.
TEST(TDistributionTest, IncompleteBetaClosedForms) {
  EXPECT_EQ(incomplete_beta(2.0, 3.0, 0.0, 1.0), 0.0);
  EXPECT_EQ(incomplete_beta(2.0, 3.0, 1.0, 0.0), 1.0);
  EXPECT_NEAR(incomplete_beta(3.5, 1.0, 0.3, 0.7), std::pow(0.3, 3.5), 1e-15);
  EXPECT_NEAR(incomplete_beta(1.0, 4.0, 0.9, 0.1), 1.0 - std::pow(0.1, 4.0), 1e-15);
}

}  // namespace
}  // namespace kvr
