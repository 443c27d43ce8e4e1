#include "statistics/rcs_chronology.h"

#include <algorithm>
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

// Combines the values that fill(j, from, out) gives, year by year, into `chronology`, on both
// cores: each year's figures go to their own places.
template <typename Fill>
void combine_by_year(std::span<const PositionSpan> spans, Fill&& fill, YearChronology* chronology) {
  std::vector<TbrmWork> work(static_cast<std::size_t>(kWorkers));
  SharedPositionBuffer buffer;
  const int first = chronology->first_year;
  share_position_samples(
      spans, first, first + chronology->years() - 1, fill,
      [&](int year, std::span<double> values, int worker) {
        const auto y = static_cast<std::size_t>(year - first);
        chronology->depth[y] = static_cast<int>(values.size());
        if (!values.empty()) {
          chronology->values[y] = tbrm(values, &work[static_cast<std::size_t>(worker)]);
        }
      },
      &buffer);
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
  std::size_t cells = 0;
  for (const MeasuredSeries& series : set) cells += series.mm.size();
  share_out(static_cast<int>(count), cells, [&](int index, int worker) {
    const auto j = static_cast<std::size_t>(index);
    const std::vector<double>& mm = set[j].mm;
    std::vector<double>& own = indices[static_cast<std::size_t>(worker)];
    own.clear();
    for (std::size_t i = 0; i < mm.size(); ++i) {
      if (std::isnan(mm[i])) continue;
      const int year = set[j].first_year + static_cast<int>(i);
      if (spans[j].last < spans[j].first) spans[j].first = year;
      spans[j].last = year;
      const double value = mm[i] * inverse[i];
      if (!std::isnan(value)) own.push_back(value);
    }
    if (spans[j].last >= spans[j].first) models[j] = fit_ar_model(own);
  });
  int first = std::numeric_limits<int>::max();
  int last = std::numeric_limits<int>::min();
  for (const PositionSpan& span : spans) {
    if (span.last < span.first) continue;
    first = std::min(first, span.first);
    last = std::max(last, span.last);
  }
  if (first > last) return result;

  auto indices_from = [&](std::size_t j, int from, std::span<double> out) {
    const auto first_index = static_cast<std::size_t>(from - set[j].first_year);
    const double* mm = set[j].mm.data() + first_index;
    const double* by_age = inverse.data() + first_index;
    for (std::size_t k = 0; k < out.size(); ++k) out[k] = mm[k] * by_age[k];
  };
  result.indices = empty_years(first, last);
  combine_by_year(spans, indices_from, &result.indices);

  std::vector<std::optional<ArResiduals>> residuals(count);
  std::vector<PositionSpan> modelled(count);
  for (std::size_t j = 0; j < count; ++j) {
    if (!models[j]) continue;
    residuals[j].emplace(*models[j]);
    modelled[j] = spans[j];
  }
  result.residuals = empty_years(first, last);
  combine_by_year(
      modelled,
      [&](std::size_t j, int from, std::span<double> out) {
        indices_from(j, from, out);
        residuals[j]->run_in_place(out);
      },
      &result.residuals);
  return result;
}

}  // namespace kvr
