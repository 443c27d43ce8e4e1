#include "dirsort.h"

#include <array>
#include <ostream>
#include <utility>

namespace kvr {
namespace {

// The pivot fraction: 0.375 advanced once by the step rule (r <= 0.5898437 gives r + 0.0390625)
// before the first partition, and never again.
constexpr float kPivotFraction = 0.375f + 0.0390625f;

struct Segment {
  int lower;
  int upper;
};

// Ascending sort of x[0..n-1]; when kMoveCompanion, y moves with x. Indices below are 1-based
// as in the published algorithm: x1(i) is x[i - 1]. (An accessor rather than a pointer to
// x - 1, which would point before the array.)
template <bool kMoveCompanion>
void singleton_sort(float* x, std::int32_t* y, int n) {
  auto x1 = [x](int i) -> float& { return x[i - 1]; };
  auto exchange = [&](int a, int b) {
    std::swap(x[a - 1], x[b - 1]);
    if constexpr (kMoveCompanion) std::swap(y[a - 1], y[b - 1]);
  };

  // The larger part of each partition is deferred, so at most log2(n) segments wait at once;
  // 64 covers every int-sized array.
  std::array<Segment, 64> stack;
  int depth = 0;
  int i = 1;
  int j = n;
  for (;;) {
    while (j - i >= 1) {
      const int p =
          i + static_cast<int>(static_cast<double>(j - i) * static_cast<double>(kPivotFraction));
      float t = x1(p);
      if (x1(i) > t) {
        exchange(i, p);
        t = x1(p);
      }
      if (x1(j) < t) {
        exchange(j, p);
        t = x1(p);
        if (x1(i) > t) {
          exchange(i, p);
          t = x1(p);
        }
      }
      int l = j;
      int m = i;
      for (;;) {
        do --l;
        while (x1(l) > t);
        do ++m;
        while (x1(m) < t);
        if (m > l) break;
        exchange(l, m);
      }
      if (l - i > j - m) {
        stack[static_cast<std::size_t>(depth++)] = {i, l};
        i = m;
      } else {
        stack[static_cast<std::size_t>(depth++)] = {m, j};
        j = l;
      }
    }
    if (depth == 0) return;
    const Segment next = stack[static_cast<std::size_t>(--depth)];
    i = next.lower;
    j = next.upper;
  }
}

void negate(float* x, int n) {
  for (int i = 0; i < n; ++i) x[i] = -x[i];
}

}  // namespace

void dirsort(float* x, std::int32_t* y, int n, int k, std::ostream& messages) {
  if (n < 1) {
    messages << kNothingToSortMessage << '\n';
    return;
  }
  if (k != 1 && k != -1 && k != 2 && k != -2) {
    messages << " the sort control parameter, k, is not 2, 1, -1, or -2.\n";
    return;
  }
  if (k <= -1) negate(x, n);
  if (k == 2 || k == -2) {
    singleton_sort<true>(x, y, n);
  } else {
    singleton_sort<false>(x, nullptr, n);
  }
  if (k <= -1) negate(x, n);
}

}  // namespace kvr
