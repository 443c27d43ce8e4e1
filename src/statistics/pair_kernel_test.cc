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

}  // namespace
}  // namespace kvr
