#include "statistics/leave_one_out.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

#include "numeric/order_statistics.h"
#include "numeric/tbrm.h"

namespace kvr {
namespace {

// The median of n ascending values a_0..a_{n-1} once one value v is removed. Without v, the
// i-th remaining value is a_{i+1} when v <= a_i and a_i otherwise (whichever copy of v goes,
// the rest is the same), so the median depends only on how many of the one or two middle
// indices of the n - 1 remaining values have v <= a_i: that count is v's class.
class MedianWithoutOne {
 public:
  // a(i) gives a_i; n >= 2.
  template <typename Ascending>
  MedianWithoutOne(std::size_t n, Ascending a) {
    const std::size_t m = n - 1;
    middles_ = m % 2 == 1 ? 1 : 2;
    const std::size_t low = m % 2 == 1 ? m / 2 : m / 2 - 1;
    for (std::size_t i = 0; i <= middles_; ++i) at_[i] = a(low + i);
    if (middles_ == 1) {
      medians_ = {at_[0], at_[1], 0.0};
    } else {
      medians_ = {middle_of(at_[0], at_[1]), middle_of(at_[0], at_[2]), middle_of(at_[1], at_[2])};
    }
  }

  [[nodiscard]] std::size_t class_of(double v) const {
    std::size_t c = 0;
    for (std::size_t i = 0; i < middles_; ++i) c += static_cast<std::size_t>(v <= at_[i]);
    return c;
  }
  [[nodiscard]] double median(std::size_t c) const { return medians_[c]; }

 private:
  std::size_t middles_ = 1;
  std::array<double, 3> at_{};
  std::array<double, 3> medians_{};
};

// The biweight of one (median, scale) pair and its sums over the whole sample.
struct Pair {
  double inverse_scale = 0.0;
  BiweightSums sums;
};

}  // namespace

void leave_one_out_tbrm(std::span<const double> x, std::span<double> masters,
                        LeaveOneOutWorkspace* workspace) {
  const std::size_t n = x.size();
  assert(masters.size() == n);
  if (n == 0) return;
  if (n == 1) {
    masters[0] = std::numeric_limits<double>::quiet_NaN();
    return;
  }
  std::vector<double>& sorted = workspace->sorted;
  sorted.assign(x.begin(), x.end());
  radix_sort(sorted, &workspace->radix);
  const std::span<const double> s(sorted);

  const MedianWithoutOne centres(n, [&](std::size_t i) { return s[i]; });
  // Per median class: the deviations' median without one, made when first needed; per
  // (median class, deviation class): the pair.
  std::array<std::optional<MedianWithoutOne>, 3> spreads;
  std::array<std::array<std::optional<Pair>, 3>, 3> pairs;

  for (std::size_t j = 0; j < n; ++j) {
    const double v = x[j];
    const std::size_t c = centres.class_of(v);
    const double centre = centres.median(c);
    if (!spreads[c]) {
      spreads[c].emplace(n, [&](std::size_t i) { return sorted_deviation(s, centre, i); });
    }
    const double offset = v - centre;
    const std::size_t d = spreads[c]->class_of(std::fabs(offset));
    std::optional<Pair>& pair = pairs[c][d];
    if (!pair) {
      const double inverse_scale = 1.0 / tbrm_scale(spreads[c]->median(d));
      pair = Pair{inverse_scale, biweight_sums(s, centre, inverse_scale)};
    }
    const double w = biweight(offset, pair->inverse_scale);
    masters[j] = centre + (pair->sums.weighted_offset - w * offset) / (pair->sums.weight - w);
  }
}

}  // namespace kvr
