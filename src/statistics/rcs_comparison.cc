#include "statistics/rcs_comparison.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "common/dimensions.h"
#include "numeric/correlation.h"

namespace kvr {
namespace {

YearChronology in_double(const std::vector<float>& values, const std::vector<int>& depth,
                         int first_year) {
  YearChronology result{first_year, {}, depth};
  result.values.reserve(values.size());
  for (float v : values) result.values.push_back(is_missing(v) ? kNotAvailable : v);
  result.depth.resize(values.size(), 0);
  return result;
}

}  // namespace

ChronologyCorrelation correlate_chronologies(const YearChronology& a, const YearChronology& b) {
  std::vector<double> x;
  std::vector<double> y;
  const int first = std::max(a.first_year, b.first_year);
  const int last = std::min(a.first_year + a.years(), b.first_year + b.years()) - 1;
  for (int year = first; year <= last; ++year) {
    const auto i = static_cast<std::size_t>(year - a.first_year);
    const auto k = static_cast<std::size_t>(year - b.first_year);
    if (std::isnan(a.values[i]) || std::isnan(b.values[k])) continue;
    if (a.depth[i] < kCompareMinDepth || b.depth[k] < kCompareMinDepth) continue;
    x.push_back(a.values[i]);
    y.push_back(b.values[k]);
  }
  return {pearson(x, y), static_cast<int>(x.size())};
}

RcsComparison compare_with_rcs(RegionalCurve curve, RcsChronology rcs,
                               const Grid<float>& standardized, int series_count, int time_span,
                               int first_year, const Chronology& rank) {
  RcsComparison result;
  result.curve = std::move(curve);
  result.rcs = std::move(rcs);
  result.rank = in_double(rank.robust_mean, rank.sample_depth, first_year);
  const ResidualRankChronology residual =
      residual_rank_chronology(standardized, series_count, time_span);
  result.rank_residual = in_double(residual.robust_mean, residual.sample_depth, first_year);
  result.rank_vs_rcs = correlate_chronologies(result.rank, result.rcs.indices);
  result.residuals = correlate_chronologies(result.rank_residual, result.rcs.residuals);
  return result;
}

}  // namespace kvr
