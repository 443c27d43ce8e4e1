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

using Kernel = void (*)(const PairGroup&, const PairBlocks&, bool, PairLaneSums*, const PairTally&);

Kernel best_kernel() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
      __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw")) {
    return avx512::correlate;
  }
  if (__builtin_cpu_supports("avx2")) return avx2::correlate;
  return baseline::correlate;
}

}  // namespace

void correlate_group(const PairGroup& group, const PairBlocks& blocks, bool finish,
                     PairLaneSums* whole, const PairTally& tally_out) {
  static const Kernel kernel = best_kernel();
  kernel(group, blocks, finish, whole, tally_out);
}

}  // namespace kvr
