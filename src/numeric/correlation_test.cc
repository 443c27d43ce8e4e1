#include "numeric/correlation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace kvr {
namespace {

// Running sums about a shift near the data, split in two and merged, against the two-pass r;
// values far from 0 with little spread, where plain sums would cancel.
TEST(CorrelationTest, RunningSumsAgreeWithTwoPasses) {
  std::mt19937 random(17);
  std::normal_distribution<double> noise(0.0, 0.01);
  std::vector<double> x, y;
  for (int i = 0; i < 200; ++i) {
    const double common = noise(random);
    x.push_back(1e6 + common + noise(random));
    y.push_back(1e6 - 3.0 + 2.0 * common + noise(random));
  }
  PairSums first(1e6, 1e6 - 3.0);
  PairSums second(1e6, 1e6 - 3.0);
  for (std::size_t i = 0; i < x.size(); ++i) (i < 70 ? first : second).add(x[i], y[i]);
  first.merge(second);
  const std::optional<double> two_pass = pearson(x, y);
  ASSERT_TRUE(two_pass);
  EXPECT_GT(*two_pass, 0.5);
  EXPECT_NEAR(*first.correlation(), *two_pass, 1e-12);
  EXPECT_EQ(first.count(), 200);
}

TEST(CorrelationTest, NoCorrelationOfFewPairsOrAConstantSide) {
  EXPECT_FALSE(pearson(std::vector<double>{1, 2}, std::vector<double>{2, 1}));
  EXPECT_FALSE(pearson(std::vector<double>{1, 2, 3}, std::vector<double>{0.1, 0.1, 0.1}));
  PairSums constant(0.0, 0.0);
  for (double v : {0.3, 0.7, 0.9}) constant.add(0.1, v);  // 0.1 minus the shift is inexact
  EXPECT_FALSE(constant.correlation());
  PairSums two(0.0, 0.0);
  two.add(1.0, 2.0);
  two.add(2.0, 1.0);
  EXPECT_FALSE(correlation_test(two));
}

TEST(CorrelationTest, OneSidedPValues) {
  EXPECT_NEAR(correlation_p_value(0.5, 10), 0.070556640625, 1e-13);  // t = 1.633 on 8 df
  EXPECT_NEAR(correlation_p_value(-0.5, 10), 1.0 - 0.070556640625, 1e-15);
  EXPECT_EQ(correlation_p_value(1.0, 10), 0.0);
  EXPECT_EQ(correlation_p_value(-1.0, 3), 1.0);
  PairSums perfect(0.0, 0.0);
  for (double v : {1.0, 2.0, 4.0, 8.0}) perfect.add(v, 3.0 * v + 1.0);
  const std::optional<CorrelationTest> test = correlation_test(perfect);
  ASSERT_TRUE(test);
  EXPECT_NEAR(test->r, 1.0, 1e-15);
  EXPECT_EQ(test->years, 4);
  EXPECT_LT(test->p, 1e-7);
}

}  // namespace
}  // namespace kvr
