#include "numeric/autocovariance.h"

#include <cassert>
#include <cstring>

namespace kvr {
namespace {

// The lags of one sweep: at most as many as there are zeros after the series' last lag (a
// product with a zero adds nothing to a sum).
constexpr std::size_t kMaxSweepLags = kAutocovarianceZeros;

// Vectors of eight, four and two doubles.
typedef double Lanes8 __attribute__((vector_size(8 * sizeof(double))));
typedef double Lanes4 __attribute__((vector_size(4 * sizeof(double))));
typedef double Lanes2 __attribute__((vector_size(2 * sizeof(double))));

// Sums of the lags first..first + kLanes * kVectors - 1 into sums (as many): kVectors vectors
// of kLanes lanes, each lane the sum of one lag, all held in registers over the sweep.
template <typename Lanes, std::size_t kVectors>
void sweep(const double* padded, std::size_t n, std::size_t first, double* sums) {
  constexpr std::size_t kLanes = sizeof(Lanes) / sizeof(double);
  Lanes sum[kVectors] = {};
  for (std::size_t t = 0; t < n; ++t) {
    Lanes d;
    for (std::size_t l = 0; l < kLanes; ++l) d[l] = padded[t];
    const double* ahead = padded + t + first;
    for (std::size_t v = 0; v < kVectors; ++v) {
      Lanes x;
      std::memcpy(&x, ahead + v * kLanes, sizeof x);
      sum[v] += d * x;
    }
  }
  std::memcpy(sums, sum, sizeof sum);
}

// Every lag 0..max_lag, the lags of kVectors vectors a sweep.
template <typename Lanes, std::size_t kVectors>
void all_lags(const double* padded, std::size_t n, std::size_t max_lag, double* sums) {
  constexpr std::size_t kSweepLags = sizeof(Lanes) / sizeof(double) * kVectors;
  static_assert(kSweepLags <= kMaxSweepLags);
  for (std::size_t first = 0; first <= max_lag; first += kSweepLags) {
    sweep<Lanes, kVectors>(padded, n, first, sums + first);
  }
}

// Each version has the sweeps compiled into it (flatten): six vectors of eight lanes cover the
// 41 lags of a 10001-value series in one sweep; six of four in two; seven pairs in three,
// within the registers of each.
using Version = void (*)(const double*, std::size_t, std::size_t, double*);

__attribute__((target("avx512f"), flatten)) void lags_avx512(const double* padded, std::size_t n,
                                                             std::size_t max_lag, double* sums) {
  all_lags<Lanes8, 6>(padded, n, max_lag, sums);
}

__attribute__((target("avx2"), flatten)) void lags_avx2(const double* padded, std::size_t n,
                                                        std::size_t max_lag, double* sums) {
  all_lags<Lanes4, 6>(padded, n, max_lag, sums);
}

__attribute__((flatten)) void lags_baseline(const double* padded, std::size_t n,
                                            std::size_t max_lag, double* sums) {
  all_lags<Lanes2, 7>(padded, n, max_lag, sums);
}

// The widest version the machine runs, asked for at the first call (not by the loader, so
// that nothing runs before the sanitizers' runtimes are ready).
Version best_version() {
  __builtin_cpu_init();
  const bool avx512 = __builtin_cpu_supports("avx512f") != 0;
  const bool avx2 = __builtin_cpu_supports("avx2") != 0;
  return avx512 ? lags_avx512 : (avx2 ? lags_avx2 : lags_baseline);
}

}  // namespace

std::vector<double> autocovariances(std::span<const double> padded, std::size_t n,
                                    std::size_t max_lag) {
  static const Version version = best_version();
  assert(padded.size() >= n + max_lag + kAutocovarianceZeros);
  // Room for the lags of a whole last sweep.
  std::vector<double> sums(max_lag + kMaxSweepLags, 0.0);
  version(padded.data(), n, max_lag, sums.data());
  std::vector<double> r(max_lag + 1);
  for (std::size_t k = 0; k <= max_lag; ++k) r[k] = sums[k] / static_cast<double>(n);
  return r;
}

}  // namespace kvr
