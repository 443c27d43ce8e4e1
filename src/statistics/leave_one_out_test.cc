#include "statistics/leave_one_out.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "numeric/tbrm.h"

namespace kvr {
namespace {

// Every sample size from 1 to 40, with values drawn from a few levels (ties everywhere, also
// at the median and at the deviations' median) or from a continuum with an outlier: each
// master against the tbrm of the sample without that value.
TEST(LeaveOneOutTest, AgreesWithTheTbrmOfTheRest) {
  std::mt19937 random(29);
  std::uniform_int_distribution<int> level(0, 4);
  std::normal_distribution<double> spread(1.0, 0.3);
  LeaveOneOutWorkspace workspace;
  TbrmWork work;
  for (int n = 1; n <= 40; ++n) {
    for (int draw = 0; draw < 20; ++draw) {
      std::vector<double> x(static_cast<std::size_t>(n));
      for (double& v : x) v = draw % 2 == 0 ? 0.5 * level(random) : spread(random);
      if (draw % 4 == 1) x[0] = 25.0;
      std::vector<double> masters(x.size());
      leave_one_out_tbrm(x, masters, &workspace);
      for (std::size_t i = 0; i < x.size(); ++i) {
        std::vector<double> rest = x;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
        const double expected = tbrm(rest, &work);
        if (std::isnan(expected)) {
          EXPECT_TRUE(std::isnan(masters[i])) << n << " " << i;
        } else {
          EXPECT_NEAR(masters[i], expected, 1e-13 * std::max(1.0, std::fabs(expected)))
              << "n " << n << " draw " << draw << " i " << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kvr
