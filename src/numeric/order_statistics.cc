#include "numeric/order_statistics.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>

namespace kvr {
namespace {

// Ranges this short are sorted outright.
constexpr std::size_t kSortBelow = 24;

// Moves the values of x[lo..hi) below `pivot` (or, with `or_equal`, not above it) to the front
// of the range without branching on the data; returns where the rest begins.
std::size_t partition_below(std::span<double> x, std::size_t lo, std::size_t hi, double pivot,
                            bool or_equal) {
  std::size_t j = lo;
  for (std::size_t i = lo; i < hi; ++i) {
    const double v = x[i];
    x[i] = x[j];
    x[j] = v;
    j += static_cast<std::size_t>(or_equal ? v <= pivot : v < pivot);
  }
  return j;
}

}  // namespace

double select_in_place(std::span<double> x, std::size_t k) {
  assert(k < x.size());
  std::size_t lo = 0;
  std::size_t hi = x.size();
  while (hi - lo > kSortBelow) {
    const std::size_t quarter = (hi - lo) / 4;
    const double a = x[lo + quarter];
    const double b = x[lo + (hi - lo) / 2];
    const double c = x[hi - 1 - quarter];
    const double pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
    const std::size_t below = partition_below(x, lo, hi, pivot, false);
    if (k < below) {
      hi = below;
    } else if (below > lo) {
      lo = below;
    } else {
      // The pivot is the range's least value: split off its copies, or the range would
      // never shrink.
      const std::size_t equal_end = partition_below(x, lo, hi, pivot, true);
      if (k < equal_end) return x[k];
      lo = equal_end;
    }
  }
  std::sort(x.begin() + static_cast<std::ptrdiff_t>(lo),
            x.begin() + static_cast<std::ptrdiff_t>(hi));
  return x[k];
}

double median_in_place(std::span<double> x) {
  const std::size_t n = x.size();
  const std::size_t upper = n / 2;
  const double high = select_in_place(x, upper);
  if (n % 2 == 1) return high;
  // For an even size the other middle value is the largest of those before it.
  const double low = *std::max_element(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(upper));
  return middle_of(low, high);
}

namespace {

// Below this size the deviations are all selected from: a guess would not pay.
constexpr std::size_t kGuessFrom = 128;
// The band kept about a guess, as factors of it.
constexpr double kGuessBelow = 0.9;
constexpr double kGuessAbove = 1.1;

// The median of all the deviations, in `d` (reordered).
double median_of_all(std::span<const double> x, double centre, std::vector<double>* d) {
  d->resize(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) (*d)[i] = std::fabs(x[i] - centre);
  return median_in_place(*d);
}

}  // namespace

double median_abs_deviation(std::span<const double> x, double centre, double guess,
                            std::vector<double>* scratch) {
  const std::size_t n = x.size();
  if (n < kGuessFrom || !(guess >= 0.0)) return median_of_all(x, centre, scratch);
  // The median is element `upper` of the sorted deviations, for an even size the mean of it
  // and element `lower` before it.
  const std::size_t upper = n / 2;
  const std::size_t lower = n % 2 == 1 ? upper : upper - 1;
  // One pass counts the deviations below the band and keeps those in it, in order. A
  // deviation is not negative, so its bits compare as the number does, and the band is one
  // unsigned comparison.
  const auto low = std::bit_cast<std::uint64_t>(guess * kGuessBelow);
  const std::uint64_t width = std::bit_cast<std::uint64_t>(guess * kGuessAbove) - low;
  scratch->resize(n);
  double* kept = scratch->data();
  std::size_t below = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double d = std::fabs(x[i] - centre);
    const auto bits = std::bit_cast<std::uint64_t>(d);
    kept[count] = d;
    below += static_cast<std::size_t>(bits < low);
    count += static_cast<std::size_t>(bits - low <= width);
  }
  // The middle deviations are in the band when at most `lower` deviations lie below it and
  // more than `upper` lie below it or in it.
  if (below > lower || below + count <= upper) return median_of_all(x, centre, scratch);
  const std::span<double> band(kept, count);
  const std::size_t at = upper - below;
  const double high = select_in_place(band, at);
  if (lower == upper) return high;
  return middle_of(*std::max_element(band.begin(), band.begin() + static_cast<std::ptrdiff_t>(at)),
                   high);
}

double sorted_median(std::span<const double> sorted) {
  const std::size_t n = sorted.size();
  if (n % 2 == 1) return sorted[n / 2];
  return middle_of(sorted[n / 2 - 1], sorted[n / 2]);
}

namespace {

// The k-th smallest (from 0) of the deviations of the ascending sample `sorted` from `centre`:
// low(v) of the values below the centre, high(v) of the others, both rising away from it.
template <typename T, typename Low, typename High>
T kth_deviation(std::span<const T> sorted, T centre, std::size_t k, Low&& low_of, High&& high_of) {
  const std::size_t n = sorted.size();
  assert(k < n);
  // Run `low`: the values below the centre, read from the split downwards; run `high`: the
  // others, read upwards. Both give rising deviations.
  const std::size_t split = static_cast<std::size_t>(
      std::lower_bound(sorted.begin(), sorted.end(), centre) - sorted.begin());
  const std::size_t low_size = split;
  const std::size_t high_size = n - split;
  auto low = [&](std::size_t i) { return low_of(sorted[split - 1 - i]); };
  auto high = [&](std::size_t i) { return high_of(sorted[split + i]); };

  // The k + 1 smallest deviations take `taken` from the low run and the rest from the high
  // run; find the largest `taken` whose last low deviation still belongs among them.
  std::size_t lo = k + 1 > high_size ? k + 1 - high_size : 0;
  std::size_t hi = std::min(k + 1, low_size);
  while (lo < hi) {
    const std::size_t taken = lo + (hi - lo + 1) / 2;  // try taking `taken` low deviations
    // Taking `taken` is right unless the taken-th low deviation exceeds the high deviation
    // it would push out (there is none when every high one is taken).
    const std::size_t pushed_out = k + 1 - taken;
    if (pushed_out == high_size || low(taken - 1) <= high(pushed_out)) {
      lo = taken;
    } else {
      hi = taken - 1;
    }
  }
  const std::size_t taken = lo;
  if (taken == 0) return high(k);
  if (taken == k + 1) return low(k);
  return std::max(low(taken - 1), high(k - taken));
}

}  // namespace

double sorted_deviation(std::span<const double> sorted, double centre, std::size_t k) {
  return kth_deviation<double>(
      sorted, centre, k, [&](double v) { return centre - v; },
      [&](double v) { return v - centre; });
}

float sorted_abs_deviation(std::span<const float> sorted, float centre, std::size_t k) {
  const auto deviation = [&](float v) { return std::fabs(v - centre); };
  return kth_deviation<float>(sorted, centre, k, deviation, deviation);
}

}  // namespace kvr
