#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kvr {

/// The work arrays of radix_sort, kept by a caller that sorts many samples so that the loop
/// allocates once.
struct RadixSortWorkspace {
  std::vector<std::uint64_t> keys;
  std::vector<std::uint64_t> spare;
};

/// Sorts x ascending (no NaN in x; -0.0 before +0.0; fewer than 2^32 values). A
/// least-significant-digit radix sort on the high half of the bit patterns, one byte a pass,
/// passing over the bytes that every value shares, then runs of values equal in that half finished
/// by insertion: linear time for measurements and residuals, and free of the mispredicted branches
/// that make comparison sorts slow on the thousand-value samples of one year.
void radix_sort(std::span<double> x, RadixSortWorkspace* workspace);

/// Sorts x ascending (no NaN in x; -0.0 before +0.0; fewer than 2^32 values), with `spare`
/// (at least as long as x) as the work array. A least-significant-digit radix sort on the bit
/// patterns, one byte a pass, passing over the bytes that every value shares: a year's sample
/// of a thousand values in a few microseconds.
void radix_sort(std::span<float> x, std::span<float> spare);

}  // namespace kvr
