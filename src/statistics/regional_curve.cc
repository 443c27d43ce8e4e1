#include "statistics/regional_curve.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "numeric/smoothing_spline.h"
#include "numeric/tbrm.h"
#include "statistics/shared_position_samples.h"

namespace kvr {

RegionalCurve regional_curve(std::span<const MeasuredSeries> set) {
  RegionalCurve result;
  std::vector<PositionSpan> spans(set.size());
  int oldest = 0;
  for (std::size_t j = 0; j < set.size(); ++j) {
    const std::vector<double>& mm = set[j].mm;
    const auto last = std::find_if(mm.rbegin(), mm.rend(), [](double v) { return !std::isnan(v); });
    if (last == mm.rend()) continue;
    spans[j] = {1, static_cast<int>(mm.rend() - last)};
    oldest = std::max(oldest, spans[j].last);
    ++result.series;
  }
  result.series_by_age.assign(static_cast<std::size_t>(oldest), 0);
  result.mean_by_age.assign(static_cast<std::size_t>(oldest), kNotAvailable);
  result.curve.assign(static_cast<std::size_t>(oldest), kNotAvailable);

  // The ages are combined on both cores, each into its own place.
  std::vector<TbrmWork> work(static_cast<std::size_t>(kWorkers));
  SharedPositionBuffer buffer;
  share_position_samples(
      spans, 1, oldest,
      [&](std::size_t j, int from, std::span<double> out) {
        const auto at = set[j].mm.begin() + (from - 1);
        std::copy(at, at + static_cast<std::ptrdiff_t>(out.size()), out.begin());
      },
      [&](int age, std::span<double> values, int worker) {
        const auto a = static_cast<std::size_t>(age - 1);
        result.series_by_age[a] = static_cast<int>(values.size());
        if (!values.empty()) {
          result.mean_by_age[a] = tbrm(values, &work[static_cast<std::size_t>(worker)]);
        }
      },
      &buffer);

  std::vector<double> means;
  for (double m : result.mean_by_age) {
    if (!std::isnan(m)) means.push_back(m);
  }
  result.ages_with_mean = static_cast<int>(means.size());
  if (result.series < kRcsMinSeries) {
    result.no_rcs = NoRcsReason::kTooFewSeries;
    return result;
  }
  if (result.ages_with_mean < kRcsMinAges) {
    result.no_rcs = NoRcsReason::kTooFewAges;
    return result;
  }
  result.stiffness = result.ages_with_mean / kCurveStiffnessDivisor;
  // A stiffness of 1 would be read as a share of the length: the whole length.
  if (result.stiffness == 1) result.stiffness = result.ages_with_mean;
  const std::vector<double> smooth = cook_peters_spline(means, result.stiffness);
  std::size_t k = 0;
  for (std::size_t a = 0; a < result.curve.size(); ++a) {
    if (std::isnan(result.mean_by_age[a])) continue;
    result.curve[a] = smooth[k++];
    if (!(result.curve[a] > 0.0)) ++result.nonpositive_ages;
  }
  return result;
}

}  // namespace kvr
