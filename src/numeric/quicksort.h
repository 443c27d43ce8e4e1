#pragma once

#include <span>

namespace kvr {

/// Sorts `a` ascending in place: a quicksort whose partitioning element is drawn from a small
/// linear congruential generator (restarted at 0 on every call, so equal input always makes
/// the same choices); ranges of fewer than 8 elements are finished by straight insertion.
void quicksort(std::span<float> a);

/// One draw of the quicksort's partitioning choice: advances the generator state `fx`, a
/// whole number 0..7874, by fx := (211 fx + 1663) mod 7875 and returns the pivot position
/// left + trunc((right - left + 1) * fx / 7875) for the 1-based range left..right. A call of
/// quicksort starts from fx = 0. Exposed so that tests can pin the choices down.
int quicksort_draw_pivot(int left, int right, float* fx);

}  // namespace kvr
