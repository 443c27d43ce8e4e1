#include "statistics/rcs_chronology.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

#include "numeric/ar_model.h"
#include "numeric/tbrm.h"
#include "statistics/shared_position_samples.h"

namespace kvr {
namespace {

// 1 / curve by age (element a - 1), NaN where the curve has no value or is 0 or below: a ratio
// index is then a product, NaN where it does not exist.
std::vector<double> inverse_curve(const RegionalCurve& curve) {
  std::vector<double> inverse(curve.curve.size());
  for (std::size_t a = 0; a < inverse.size(); ++a) {
    inverse[a] = curve.curve[a] > 0.0 ? 1.0 / curve.curve[a] : kNotAvailable;
  }
  return inverse;
}

YearChronology empty_years(int first, int last) {
  const auto years = static_cast<std::size_t>(last - first + 1);
  return {first, std::vector<double>(years, kNotAvailable), std::vector<int>(years, 0)};
}

}  // namespace

RcsChronology rcs_chronology(std::span<const MeasuredSeries> set, const RegionalCurve& curve) {
  RcsChronology result;
  if (!curve.usable()) return result;
  const std::size_t count = set.size();
  // Each series' years (the curve covers every age of every series) and its index series'
  // model, fitted to the indices with the gaps closed.
  std::vector<PositionSpan> spans(count);
  std::vector<std::optional<ArModel>> models(count);
  const std::vector<double> inverse = inverse_curve(curve);
  // The series are fitted on both cores, each into its own place.
  std::vector<std::vector<double>> indices(static_cast<std::size_t>(kWorkers));
  share_out(static_cast<int>(count), value_count(set), [&](int index, int worker) {
    const auto j = static_cast<std::size_t>(index);
    const std::vector<double>& mm = set[j].mm;
    std::size_t lo = 0;
    std::size_t hi = mm.size();
    while (lo < hi && std::isnan(mm[lo])) ++lo;
    while (hi > lo && std::isnan(mm[hi - 1])) --hi;
    if (lo == hi) return;
    spans[j] = {set[j].first_year + static_cast<int>(lo),
                set[j].first_year + static_cast<int>(hi) - 1};
    // The indices there are, in order: a missing value or curve gives NaN, which is passed over.
    std::vector<double>& own = indices[static_cast<std::size_t>(worker)];
    own.resize(hi - lo);
    std::size_t n = 0;
    for (std::size_t i = lo; i < hi; ++i) {
      const double value = mm[i] * inverse[i];
      own[n] = value;
      n += std::isnan(value) ? 0 : 1;
    }
    models[j] = fit_ar_model(std::span<const double>(own.data(), n));
  });
  int first = std::numeric_limits<int>::max();
  int last = std::numeric_limits<int>::min();
  for (const PositionSpan& span : spans) {
    if (span.last < span.first) continue;
    first = std::min(first, span.first);
    last = std::max(last, span.last);
  }
  if (first > last) return result;

  // One walk gives both chronologies: each series' indices, and the same prewhitened by its
  // model (NaN throughout for a series without one), combined year by year by tbrm.
  std::vector<std::optional<ArResiduals>> residuals(count);
  for (std::size_t j = 0; j < count; ++j) {
    if (models[j]) residuals[j].emplace(*models[j]);
  }
  result.indices = empty_years(first, last);
  result.residuals = empty_years(first, last);
  // Each worker's tbrm arrays, one set per chronology: each carries the last MAD of its own
  // kind of sample.
  std::vector<std::array<TbrmWork, 2>> work(static_cast<std::size_t>(kWorkers));
  SharedPositionBuffer buffer;
  share_position_sample_sets<2>(
      spans, first, last,
      [&](std::size_t j, int from, const std::array<std::span<double>, 2>& out) {
        const auto first_index = static_cast<std::size_t>(from - set[j].first_year);
        const double* mm = set[j].mm.data() + first_index;
        const double* by_age = inverse.data() + first_index;
        for (std::size_t k = 0; k < out[0].size(); ++k) out[0][k] = mm[k] * by_age[k];
        if (residuals[j]) {
          residuals[j]->run_over_gaps(out[0], out[1]);
        } else {
          std::fill(out[1].begin(), out[1].end(), kNotAvailable);
        }
      },
      [&](int year, const std::array<std::span<double>, 2>& samples, int worker) {
        const auto y = static_cast<std::size_t>(year - first);
        std::array<TbrmWork, 2>& own = work[static_cast<std::size_t>(worker)];
        YearChronology* chronologies[] = {&result.indices, &result.residuals};
        for (std::size_t k = 0; k < 2; ++k) {
          chronologies[k]->depth[y] = static_cast<int>(samples[k].size());
          if (!samples[k].empty()) chronologies[k]->values[y] = tbrm(samples[k], &own[k]);
        }
      },
      &buffer);
  return result;
}

}  // namespace kvr
