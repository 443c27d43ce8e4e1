#include "statistics/pair_kernel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/dimensions.h"

namespace kvr {
namespace {

// The kernel for the vector units of AVX-512 and AVX2 beside the baseline: every lane does the
// same additions, multiplications, divisions and square roots in the same order on each, so
// the results are the same to the bit. The version is picked by an ordinary call rather than
// by the loader, so that nothing runs before the sanitizers' runtimes are ready.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512dq,avx512vl,avx512bw"))), \
                             apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512dq,avx512vl,avx512bw")
#endif
namespace avx512 {
#include "statistics/pair_kernel_body.h"
}  // namespace avx512
#if defined(__clang__)
#pragma clang attribute pop
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC pop_options
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace avx2 {
#include "statistics/pair_kernel_body.h"
}  // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
namespace baseline {
#include "statistics/pair_kernel_body.h"
}  // namespace baseline

// The kernel's entry points of one version.
struct Kernel {
  void (*correlate)(const PairGroup&, const PairBlocks&, bool, PairLaneSums*, const PairTally&);
  void (*center)(const float* const*, const double*, int, int, double*);
  void (*products)(const double* const*, const int*, const int*, const double*, int, int, int,
                   double*);
};

Kernel best_kernel() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
      __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw")) {
    return {avx512::correlate, avx512::center, avx512::products};
  }
  if (__builtin_cpu_supports("avx2")) return {avx2::correlate, avx2::center, avx2::products};
  return {baseline::correlate, baseline::center, baseline::products};
}

const Kernel& kernel() {
  static const Kernel best = best_kernel();
  return best;
}

}  // namespace

void correlate_group(const PairGroup& group, const PairBlocks& blocks, bool finish,
                     PairLaneSums* whole, const PairTally& tally_out) {
  kernel().correlate(group, blocks, finish, whole, tally_out);
}

void group_products(const double* const (&rows_i)[kPairRows], const int (&lo)[kPairRows],
                    const int (&hi)[kPairRows], const double* rows_j, int origin, int b0, int b1,
                    double* out) {
  kernel().products(rows_i, lo, hi, rows_j, origin, b0, b1, out);
}

void center_group(const float* const (&rows)[kPairLanes], const double (&means)[kPairLanes],
                  int from, int to, double* out) {
  kernel().center(rows, means, from, to, out);
}

}  // namespace kvr
