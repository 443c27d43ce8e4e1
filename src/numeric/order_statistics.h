#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kvr {

/// The mean of two values, the middle of an even-sized sample. Every median of this program's
/// double-precision statistics is taken through it, so that the fast and the plain ways of
/// finding one give the same bits.
[[nodiscard]] inline double middle_of(double a, double b) { return (a + b) / 2.0; }

/// Reorders x so that x[k] is its k-th smallest value (from 0), no value before it larger and
/// none after it smaller, and returns x[k]. No NaN in x; k < x.size(). Quickselect with a
/// median-of-three pivot and a partition without data-dependent branches.
double select_in_place(std::span<double> x, std::size_t k);

/// The median of x (reordered by the call; no NaN; not empty).
[[nodiscard]] double median_in_place(std::span<double> x);

/// The median of the deviations |x_i - centre| of x (any order; no NaN; not empty), the value
/// median_in_place of them gives. `guess` (NaN for none), say that of a similar sample, only
/// speeds the search: a single pass keeps the deviations within a tenth of it (in `scratch`),
/// and the median is selected among them when it lies there, else among all deviations.
[[nodiscard]] double median_abs_deviation(std::span<const double> x, double centre, double guess,
                                          std::vector<double>* scratch);

/// The median of the ascending sample `sorted` (not empty).
[[nodiscard]] double sorted_median(std::span<const double> sorted);

/// The k-th smallest (from 0) of the deviations |x_i - centre| of the ascending sample
/// `sorted`, k < sorted.size(). The deviations fall to `centre` and rise after it: two sorted
/// runs, whose k-th element a binary search finds in O(log n) steps. Each deviation is the
/// difference of the larger and the smaller number, bit for bit |x_i - centre|.
[[nodiscard]] double sorted_deviation(std::span<const double> sorted, double centre, std::size_t k);

/// The same in single precision, each deviation taken as std::fabs(x_i - centre): the element k
/// of the deviations of `sorted` sorted ascending, found in O(log n) steps.
[[nodiscard]] float sorted_abs_deviation(std::span<const float> sorted, float centre,
                                         std::size_t k);

}  // namespace kvr
