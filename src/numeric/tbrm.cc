#include "numeric/tbrm.h"

#include <cstddef>
#include <limits>

#include "numeric/double_pair.h"
#include "numeric/order_statistics.h"

namespace kvr {

BiweightSums biweight_sums(std::span<const double> x, double centre, double inverse_scale) {
  // Four values a step, as two pairs with sums of their own, so that the additions do not
  // wait on one another.
  const DoublePair c = pair_of(centre);
  const DoublePair scale = pair_of(inverse_scale);
  const DoublePair one = pair_of(1.0);
  const DoublePair zero = pair_of(0.0);
  DoublePair weight[2] = {zero, zero};
  DoublePair offset[2] = {zero, zero};
  const std::size_t n = x.size();
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    for (std::size_t h = 0; h < 2; ++h) {
      const DoublePair d = load_pair(&x[i + 2 * h]) - c;
      const DoublePair u = d * scale;
      DoublePair t = one - u * u;
      t = t > zero ? t : zero;
      const DoublePair w = t * t;
      weight[h] += w;
      offset[h] += w * d;
    }
  }
  BiweightSums sums{lane_sum(weight[0]) + lane_sum(weight[1]),
                    lane_sum(offset[0]) + lane_sum(offset[1])};
  for (; i < n; ++i) {
    const double d = x[i] - centre;
    const double w = biweight(d, inverse_scale);
    sums.weight += w;
    sums.weighted_offset += w * d;
  }
  return sums;
}

double tbrm(std::span<double> x, TbrmWork* work) {
  if (x.empty()) return std::numeric_limits<double>::quiet_NaN();
  const double median = median_in_place(x);
  const double mad = median_abs_deviation(x, median, work->last_mad, &work->deviations);
  work->last_mad = mad;
  const BiweightSums sums = biweight_sums(x, median, 1.0 / tbrm_scale(mad));
  return median + sums.weighted_offset / sums.weight;
}

}  // namespace kvr
