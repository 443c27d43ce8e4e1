#pragma once

#include <limits>
#include <span>
#include <vector>

namespace kvr {

/// The tuning constant of the one-step biweight mean: values further than this many median
/// absolute deviations from the median get no weight.
inline constexpr double kTbrmTuning = 9.0;
/// Added to the scale, so that a sample whose deviations are mostly 0 keeps a positive one.
inline constexpr double kTbrmScaleFloor = 1e-6;

/// The biweight scale of a sample whose median absolute deviation is `mad`.
[[nodiscard]] inline double tbrm_scale(double mad) { return mad * kTbrmTuning + kTbrmScaleFloor; }

/// Tukey's biweight (1 - u^2)^2 of u = offset * inverse_scale, 0 for |u| > 1.
[[nodiscard]] inline double biweight(double offset, double inverse_scale) {
  const double u = offset * inverse_scale;
  const double t = 1.0 - u * u;
  return t > 0.0 ? t * t : 0.0;
}

/// Sums over a sample of the biweights w_i about `centre` and of w_i (x_i - centre).
struct BiweightSums {
  double weight = 0.0;
  double weighted_offset = 0.0;
};
[[nodiscard]] BiweightSums biweight_sums(std::span<const double> x, double centre,
                                         double inverse_scale);

/// Work arrays of tbrm, kept by a caller that takes it of one similar sample after another:
/// the median absolute deviation of the last sample is where the next one's is looked for
/// first (the results do not depend on it).
struct TbrmWork {
  std::vector<double> deviations;
  double last_mad = std::numeric_limits<double>::quiet_NaN();
};

/// The one-step Tukey biweight robust mean ("tbrm") of a sample: the weighted mean with the
/// biweights about the median M at the scale tbrm_scale(median |x - M|), written as M plus
/// the weighted mean offset. x holds no NaN and is reordered; `work` holds the work arrays and
/// carries the sample's MAD on to the next call. NaN for an empty sample.
[[nodiscard]] double tbrm(std::span<double> x, TbrmWork* work);

}  // namespace kvr
