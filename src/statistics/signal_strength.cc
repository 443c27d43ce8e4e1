#include "statistics/signal_strength.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "common/dimensions.h"

namespace kvr {
namespace {

// A sum below this share of its terms' size is zero up to rounding.
constexpr double kRoundingShare = 1e-12;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// 1 + x, or empty when x is -1 up to rounding: a denominator that vanishes (rbar of two
// mirrored series comes out as -1 + 2e-16, say, which would give an EPS of -4e14).
std::optional<double> one_plus(double x) {
  const double sum = 1.0 + x;
  if (std::fabs(sum) <= kRoundingShare * (1.0 + std::fabs(x))) return {};
  return sum;
}

SignalFigures figures_of(const CorrelationTally& t) {
  const int series = static_cast<int>(std::count(t.members.begin(), t.members.end(), 1));
  return signal_figures(t.sum, t.pairs, series);
}

}  // namespace

SignalFigures signal_figures(double correlation_sum, int pairs, int series) {
  SignalFigures f;
  f.series = series;
  f.pairs = pairs;
  if (pairs <= 0) return f;
  const double rbar = correlation_sum / pairs;
  const double n = series;
  f.rbar = rbar;
  if (const std::optional<double> den = one_plus((n - 1.0) * rbar)) f.eps = n * rbar / *den;
  if (const std::optional<double> den = one_plus(-rbar)) f.snr = n * rbar / *den;
  return f;
}

std::optional<double> subsample_signal_strength(int depth, int series, double rbar) {
  const double d = depth;
  const double n = series;
  const std::optional<double> den = one_plus((d - 1.0) * rbar);
  if (!den) return {};
  return d * (1.0 + (n - 1.0) * rbar) / (n * *den);
}

std::optional<int> reliable_from(const std::vector<std::optional<double>>& values) {
  std::size_t first = values.size();
  while (first > 0 && values[first - 1].has_value() && *values[first - 1] >= kSignalReliable) {
    --first;
  }
  if (first == values.size()) return {};
  return static_cast<int>(first);
}

SignalStrength signal_strength(const Grid<float>& by_year, int series_count, int time_span,
                               const std::vector<int>& sample_depth) {
  const int years = std::max(time_span, 0);
  // Only cells inside the grid are read, as for the chronology.
  const int rows = std::clamp(series_count, 0, by_year.rows());
  const int stored_years = std::min(years, by_year.cols());
  const int window_count =
      years >= kSignalWindowLength ? (years - kSignalWindowLength) / kSignalWindowLag + 1 : 0;

  int trees = 0;  // series with any value
  for (int i = 1; i <= rows && stored_years > 0; ++i) {
    const float* row = by_year.row(i);
    trees += std::any_of(row, row + stored_years, [](float v) { return !is_missing(v); });
  }
  const PairCorrelations pairs = pair_correlations(by_year, rows, stored_years, window_count);

  SignalStrength result;
  result.whole = figures_of(pairs.whole);
  std::vector<std::optional<double>> window_eps;
  for (int k = 0; k < window_count; ++k) {
    SignalWindow w;
    w.first = k * kSignalWindowLag + 1;
    w.last = w.first + kSignalWindowLength - 1;
    w.figures = figures_of(pairs.windows[at(k)]);
    window_eps.push_back(w.figures.eps);
    result.windows.push_back(w);
  }
  if (const std::optional<int> k = reliable_from(window_eps)) {
    result.eps_reliable_from = result.windows[at(*k)].first;
  }

  result.sss.assign(at(years), std::nullopt);
  if (result.whole.rbar) {
    for (int y = 1; y <= years; ++y) {
      const int depth = at(y - 1) < sample_depth.size() ? sample_depth[at(y - 1)] : 0;
      result.sss[at(y - 1)] = subsample_signal_strength(depth, trees, *result.whole.rbar);
    }
  }
  if (const std::optional<int> y = reliable_from(result.sss)) result.sss_reliable_from = *y + 1;
  return result;
}

}  // namespace kvr
