#pragma once

#include <span>
#include <vector>

#include "measurements/measured_series.h"
#include "statistics/regional_curve.h"

namespace kvr {

/// A chronology by year first_year + i (element i), NaN where it has no value, with the number
/// of values behind each year.
struct YearChronology {
  int first_year = 0;
  std::vector<double> values;
  std::vector<int> depth;

  [[nodiscard]] int years() const { return static_cast<int>(values.size()); }
};

/// The RCS chronology and its residual version over the set's years.
struct RcsChronology {
  YearChronology indices;    // tbrm of the ratio indices; depth = indices that year
  YearChronology residuals;  // tbrm of the prewhitened index series
};

/// The chronologies of the ratio indices (each value times 1 / the regional curve at its age;
/// none where the curve is 0 or below), combined year by year by tbrm, and of the index series
/// each prewhitened first (gaps closed; series that cannot be prewhitened left out). Empty
/// (no years) when the curve is not usable.
[[nodiscard]] RcsChronology rcs_chronology(std::span<const MeasuredSeries> set,
                                           const RegionalCurve& curve);

}  // namespace kvr
