#pragma once

#include <span>

#include "measurements/measurement_set.h"

namespace kvr {

/// Transforms positions 1..length of every series in place and sets *mean_power, the mean of
/// the series' powers (0 for a set without series). Each series is raised to its power, or
/// log-transformed for power 0, and mapped back linearly onto the minimum-to-maximum range it
/// had before; a series whose transformed values are all equal is left as it is, and its
/// power still counts. Cells beyond a series' length are not touched. Missing cells inside a
/// series stay missing: they are neither transformed nor part of the range.
///
/// Returns false, with the set unchanged and *mean_power 0, when the transformation fails: a
/// value before or after it is not finite, or the set's table does not fit its value grid (a
/// series longer than the grid is wide, more series than rows).
[[nodiscard]] bool power_transform(MeasurementSet* set, float* mean_power);

/// Least-squares slope of y on x over the points (x[k], y[k]), in single precision:
/// (Sxy - Sx Sy / m) / (Sxx - Sx Sx / m) for m points, or 0 when the denominator is 0 or not
/// a number (fewer than two points, or all x equal).
[[nodiscard]] float regression_slope(std::span<const float> x, std::span<const float> y);

/// The power for a slope: 1 - slope, made 0 below 0.05 and 1 above 1.
[[nodiscard]] float power_from_slope(float slope);

/// The power chosen for one series (values[0] is ring 1): each consecutive pair of values (no
/// missing cell) whose later value is positive and differs from the earlier one gives the point (ln
/// later value, ln |difference|); the power follows from the slope of those points.
[[nodiscard]] float series_power(std::span<const float> values);

}  // namespace kvr
