#pragma once

#include <cstring>

namespace kvr {

/// Two doubles operated on together, through the vector extension of GCC and Clang: one SSE2
/// register on x86-64, a pair of scalars on a machine without one. The few loops that carry
/// most of the statistics' arithmetic use it where the compiler would not vectorise them by
/// itself without reordering sums; each lane keeps its own order, so results do not depend on
/// the machine.
typedef double DoublePair __attribute__((vector_size(16)));

/// Both lanes `v`.
[[nodiscard]] inline DoublePair pair_of(double v) { return DoublePair{v, v}; }

/// p[0] and p[1], with no alignment needed.
[[nodiscard]] inline DoublePair load_pair(const double* p) {
  DoublePair v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void store_pair(double* p, DoublePair v) { std::memcpy(p, &v, sizeof v); }

/// The sum of the two lanes.
[[nodiscard]] inline double lane_sum(DoublePair v) { return v[0] + v[1]; }

}  // namespace kvr
