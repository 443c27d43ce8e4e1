#pragma once

#include <span>
#include <vector>

#include "measurements/measured_series.h"

namespace kvr {

/// A regional curve needs this many ages with a mean and this many series with a value.
inline constexpr int kRcsMinAges = 10;
inline constexpr int kRcsMinSeries = 2;
/// The spline's stiffness, as a share of the number of ages (rounded down).
inline constexpr int kCurveStiffnessDivisor = 10;

/// Why a set has no regional curve.
enum class NoRcsReason { kNone, kTooFewSeries, kTooFewAges };

/// The regional curve of a set, by cambial age a = 1..ages() (element a - 1).
struct RegionalCurve {
  std::vector<int> series_by_age;   // series with a value at that age
  std::vector<double> mean_by_age;  // tbrm of those values; NaN where there is none
  std::vector<double> curve;        // the smoothed mean; NaN without a mean or without RCS
  int stiffness = 0;                // of the spline, in years; 0 without RCS
  NoRcsReason no_rcs = NoRcsReason::kNone;
  int series = 0;            // series with any value
  int ages_with_mean = 0;    // the spline's length
  int nonpositive_ages = 0;  // ages whose curve is 0 or below: their indices are NaN

  [[nodiscard]] int ages() const { return static_cast<int>(mean_by_age.size()); }
  [[nodiscard]] bool usable() const { return no_rcs == NoRcsReason::kNone; }
};

/// The regional curve of a set: the age of a value is its year minus the series' first year
/// plus 1 (a gap keeps its years); the mean by age is the tbrm of the values of that age over
/// all series; the curve is the Cook-Peters spline of the means (over the ages that have one,
/// in order) with f = 0.5 and stiffness floor(ages / kCurveStiffnessDivisor) years, where a
/// stiffness of 1 (10 to 19 ages) becomes the number of ages. None for fewer than
/// kRcsMinSeries series or kRcsMinAges ages with a mean.
[[nodiscard]] RegionalCurve regional_curve(std::span<const MeasuredSeries> set);

}  // namespace kvr
