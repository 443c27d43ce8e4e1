#pragma once

#include <cstdint>
#include <iosfwd>

namespace kvr {

/// What dirsort prints for a list without values.
inline constexpr char kNothingToSortMessage[] =
    " the number of values to be sorted is not positive.";

/// The reference sort of the ranking (rankcls_reference). Sorts x[0..n-1] in place: k = 1
/// ascending, k = -1 descending; k = 2 and k = -2 the same while moving the companion y[0..n-1]
/// along with x (y may be null for |k| = 1). Prints " the number of values to be sorted is not
/// positive." for n < 1 and " the sort control parameter, k, is not 2, 1, -1, or -2." for any other
/// k, and then leaves both arrays as they are.
///
/// Singleton's quicksort (ACM Algorithm 347) with the fixed pivot fraction 0.4140625.
void dirsort(float* x, std::int32_t* y, int n, int k, std::ostream& messages);

}  // namespace kvr
