#include "numeric/quicksort.h"

#include <array>
#include <cstddef>

namespace kvr {
namespace {

// Ranges shorter than this are sorted by insertion.
constexpr int kInsertionThreshold = 7;

}  // namespace

int quicksort_draw_pivot(int left, int right, float* fx) {
  // The pivot's place comes from the generator state' = (211 state + 1663) mod 7875, scaled
  // by 1 / 7875 onto the range.
  constexpr int kMultiplier = 211;
  constexpr int kIncrement = 1663;
  constexpr int kModulus = 7875;
  constexpr float kScale = 0.00012698413f;  // 1 / 7875
  // The states are whole numbers below 7875 and 211 * 7874 + 1663 < 2^24, so the real
  // remainder (fx * 211 + 1663) mod 7875 is exact; integer arithmetic gives it without the
  // cost of fmod.
  const int state = static_cast<int>(*fx);
  *fx = static_cast<float>((state * kMultiplier + kIncrement) % kModulus);
  return left + static_cast<int>(static_cast<float>(right - left + 1) * *fx * kScale);
}

void quicksort(std::span<float> a) {
  const int n = static_cast<int>(a.size());
  // ra(i) is element i, 1-based as in the published routine. (An accessor rather than a
  // pointer to a.data() - 1, which would point before the array, or before null when empty.)
  float* const data = a.data();
  auto ra = [data](int i) -> float& { return data[i - 1]; };

  // The larger side is always the one deferred, so at most log2(n) ranges wait at once;
  // 64 pairs cover every int-sized array.
  std::array<int, 128> stack;
  int top = 0;
  int left = 1;
  int right = n;
  float fx = 0.0f;
  for (;;) {
    if (right - left < kInsertionThreshold) {
      for (int j = left + 1; j <= right; ++j) {
        const float value = ra(j);
        int i = j - 1;
        while (i >= 1 && ra(i) > value) {
          ra(i + 1) = ra(i);
          --i;
        }
        ra(i + 1) = value;
      }
      if (top == 0) return;
      right = stack[static_cast<std::size_t>(--top)];
      left = stack[static_cast<std::size_t>(--top)];
      continue;
    }

    const int q = quicksort_draw_pivot(left, right, &fx);
    const float pivot = ra(q);
    ra(q) = ra(left);
    int i = left;
    int j = right;
    for (;;) {
      while (j >= 1 && pivot < ra(j)) --j;
      if (j <= i) {
        ra(i) = pivot;
        break;
      }
      ra(i) = ra(j);
      ++i;
      while (i <= n && pivot > ra(i)) ++i;
      if (j <= i) {
        ra(j) = pivot;
        i = j;
        break;
      }
      ra(j) = ra(i);
      --j;
    }

    if (right - i >= i - left) {
      stack[static_cast<std::size_t>(top++)] = i + 1;
      stack[static_cast<std::size_t>(top++)] = right;
      right = i - 1;
    } else {
      stack[static_cast<std::size_t>(top++)] = left;
      stack[static_cast<std::size_t>(top++)] = i - 1;
      left = i + 1;
    }
  }
}

}  // namespace kvr
