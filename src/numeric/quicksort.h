#pragma once

#include <span>

namespace kvr {

/// Sorts `a` ascending in place: a quicksort whose partitioning element is drawn from a small
/// linear congruential generator (restarted at 0 on every call, so equal input always makes
/// the same choices); ranges of fewer than 8 elements are finished by straight insertion.
void quicksort(std::span<float> a);

}  // namespace kvr
