#include "statistics/pair_kernel.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "common/dimensions.h"

namespace kvr {
namespace {

// Each lane's row about its mean, value by value, against the plain computation: rows with
// missing values, a row of nothing but missing values, and stretches of every length up to
// past a block.
TEST(PairKernelTest, CentersAGroupLikeThePlainComputation) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> width(0.2f, 3.0f);
  const int years = 60;
  std::vector<std::vector<float>> values(kPairLanes, std::vector<float>(years, kMissing));
  const float* rows[kPairLanes];
  double means[kPairLanes];
  for (int l = 0; l < kPairLanes; ++l) {
    for (int p = 0; p < years && l != 5; ++p) {
      if ((p + l) % 7 != 3) values[l][p] = width(random);
    }
    rows[l] = values[l].data();
    means[l] = 0.5 + l;
  }
  for (const auto& [from, to] : {std::pair{1, 1}, {4, 11}, {2, 27}, {1, years}}) {
    std::vector<double> out((to - from + 1) * kPairLanes, -1.0);
    center_group(rows, means, from, to, out.data());
    for (int p = from; p <= to; ++p) {
      for (int l = 0; l < kPairLanes; ++l) {
        const float v = values[l][p - 1];
        const double want = is_missing(v) ? 0.0 : static_cast<double>(v) - means[l];
        EXPECT_EQ(out[(p - from) * kPairLanes + l], want) << "lane " << l << ", position " << p;
      }
    }
  }
}

// Block products of a strip of rows against a group: near the plain sums of products, only in
// each row's own blocks, and the same to the bit whether a row's block is taken with the other
// rows or alone.
TEST(PairKernelTest, BlockProductsMatchThePlainSums) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> value(-2.0, 2.0);
  const int blocks = 4;
  const int years = blocks * kPairBlock;
  std::vector<std::vector<double>> rows_i(kPairRows, std::vector<double>(years));
  std::vector<double> group(static_cast<std::size_t>(years) * kPairLanes);
  for (auto& row : rows_i) {
    for (double& v : row) v = value(random);
  }
  for (double& v : group) v = value(random);
  const double* rows[kPairRows];
  for (int r = 0; r < kPairRows; ++r) rows[r] = rows_i[r].data();
  const std::size_t cells = static_cast<std::size_t>(blocks) * kPairRows * kPairLanes;
  auto products = [&](const int(&lo)[kPairRows], const int(&hi)[kPairRows]) {
    std::vector<double> out(cells, 7.0);
    group_products(rows, lo, hi, group.data(), 0, 0, blocks - 1, out.data());
    return out;
  };
  const std::vector<double> together = products({0, 0, 0, 0}, {3, 3, 3, 3});
  const int lo[kPairRows] = {1, 0, 2, 4};
  const int hi[kPairRows] = {2, 3, 2, 3};
  const std::vector<double> apart = products(lo, hi);
  for (int b = 0; b < blocks; ++b) {
    for (int r = 0; r < kPairRows; ++r) {
      for (int l = 0; l < kPairLanes; ++l) {
        const std::size_t cell = (static_cast<std::size_t>(b) * kPairRows + r) * kPairLanes + l;
        double plain = 0.0;
        for (int t = b * kPairBlock; t < (b + 1) * kPairBlock; ++t) {
          plain += rows_i[r][t] * group[static_cast<std::size_t>(t) * kPairLanes + l];
        }
        EXPECT_NEAR(together[cell], plain, 1e-12) << "block " << b << ", row " << r;
        EXPECT_EQ(apart[cell], lo[r] <= b && b <= hi[r] ? together[cell] : 7.0)
            << "block " << b << ", row " << r;
      }
    }
  }
}

}  // namespace
}  // namespace kvr
