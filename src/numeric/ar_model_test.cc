#include "numeric/ar_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace kvr {
namespace {

constexpr double kNa = -1e300;  // stands for NaN in the expected residuals

// Series whose models were worked out from the definition in 40-digit arithmetic: AIC picks
// order 1 (a rising series), order 0 (AIC of order 1 is higher) and order 1 with a negative
// coefficient (an alternating series).
TEST(ArModelTest, HandWorkedSeries) {
  const struct {
    std::vector<double> x;
    int order;
    std::vector<double> coefficients;
    double mean;
    std::vector<double> residuals;
  } cases[] = {
      {{3, 5, 4, 6, 8, 7, 9, 8},
       1,
       {0.48214285714285714},
       6.25,
       {kNa, 6.5669642857142857, 4.6026785714285714, 7.0848214285714286, 8.1205357142857143,
        6.15625, 8.6383928571428571, 6.6741071428571429}},
      {{1, 3, 2, 4, 3, 5, 4, 6, 5, 7}, 0, {}, 4.0, {1, 3, 2, 4, 3, 5, 4, 6, 5, 7}},
      {{2, 9, 1, 8, 3, 7, 2, 9, 1, 8, 2, 9},
       1,
       {-0.8803030303030303},
       5.0833333333333333,
       {kNa, 6.2857323232323232, 4.4478535353535354, 4.4054292929292929, 5.5675505050505051,
        5.1660353535353535, 3.6872474747474747, 6.2857323232323232, 4.4478535353535354,
        4.4054292929292929, 4.5675505050505051, 6.2857323232323232}},
  };
  for (const auto& c : cases) {
    const std::optional<ArModel> model = fit_ar_model(c.x);
    ASSERT_TRUE(model) << c.x.size();
    EXPECT_EQ(model->order, c.order) << c.x.size();
    ASSERT_EQ(model->coefficients.size(), c.coefficients.size());
    for (std::size_t i = 0; i < c.coefficients.size(); ++i) {
      EXPECT_NEAR(model->coefficients[i], c.coefficients[i], 1e-14);
    }
    EXPECT_NEAR(model->mean, c.mean, 1e-14);
    std::vector<double> residuals(c.x.size());
    prewhiten(*model, c.x, residuals);
    for (std::size_t t = 0; t < c.x.size(); ++t) {
      if (c.residuals[t] == kNa) {
        EXPECT_TRUE(std::isnan(residuals[t])) << t;
      } else {
        EXPECT_NEAR(residuals[t], c.residuals[t], 1e-13) << c.x.size() << " " << t;
      }
    }
  }
}

TEST(ArModelTest, ShortAndConstantSeriesAreNotModelled) {
  EXPECT_FALSE(fit_ar_model(std::vector<double>{1.0, 2.0, 3.0}));
  EXPECT_FALSE(fit_ar_model(std::vector<double>{0.4, 0.4, 0.4, 0.4, 0.4}));
  EXPECT_TRUE(fit_ar_model(std::vector<double>{1.0, 2.0, 3.0, 5.0}));
}

// A given AR(2) model: residual = d_t - 0.5 d_{t-1} + 0.25 d_{t-2} + mean, the first two
// missing; fed in runs of 1, 3 and 2 values, the last run with a gap that the model closes.
TEST(ArModelTest, ResidualsOfAGivenModelRunByRun) {
  const ArModel model{2, {0.5, -0.25}, 10.0};
  ArResiduals residuals(model);
  std::vector<double> first = {12.0};
  std::vector<double> second = {8.0, 11.0, 10.0};
  std::vector<double> third = {NAN, 14.0};
  residuals.run_in_place(first);
  residuals.run_in_place(second);
  residuals.run_in_place(third);
  EXPECT_TRUE(std::isnan(first[0]));
  EXPECT_TRUE(std::isnan(second[0]));
  EXPECT_DOUBLE_EQ(second[1], 1.0 - 0.5 * -2.0 + 0.25 * 2.0 + 10.0);
  EXPECT_DOUBLE_EQ(second[2], 0.0 - 0.5 * 1.0 + 0.25 * -2.0 + 10.0);
  EXPECT_TRUE(std::isnan(third[0]));
  EXPECT_DOUBLE_EQ(third[1], 4.0 - 0.5 * 0.0 + 0.25 * 1.0 + 10.0);
}

}  // namespace
}  // namespace kvr
