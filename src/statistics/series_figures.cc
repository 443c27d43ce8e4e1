#include "statistics/series_figures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "numeric/order_statistics.h"

namespace kvr {
namespace {

// (C_n (n - 1) - 2 sum_{k<n} C_k) / (C_n n) of the ascending values, C_k their partial sums.
double gini_of_sorted(std::span<const double> sorted) {
  const std::size_t n = sorted.size();
  if (n < 2) return 0.0;
  double partial = 0.0;
  double partial_sums = 0.0;  // C_1 + ... + C_{n-1}
  for (std::size_t k = 0; k + 1 < n; ++k) {
    partial += sorted[k];
    partial_sums += partial;
  }
  const double total = partial + sorted[n - 1];
  if (total == 0.0) return kNotAvailable;
  const double count = static_cast<double>(n);
  return (total * (count - 1.0) - 2.0 * partial_sums) / (total * count);
}

// 2/(n-1) sum |y_t - y_{t-1}| / (y_t + y_{t-1}); a pair of zero rings adds nothing.
double mean_sensitivity(std::span<const double> y) {
  double sum = 0.0;
  for (std::size_t t = 1; t < y.size(); ++t) {
    const double both = y[t] + y[t - 1];
    if (both != 0.0) sum += std::fabs(y[t] - y[t - 1]) / both;
  }
  return 2.0 * sum / static_cast<double>(y.size() - 1);
}

// Fills the figures from mean to sens1 of the values y.
void describe_values(std::span<const double> y, SeriesFigures* figures,
                     std::vector<double>* sort_scratch, RadixSortWorkspace* radix) {
  const std::size_t n = y.size();
  const double count = static_cast<double>(n);
  double sum = 0.0;
  for (double v : y) sum += v;
  const double mean = sum / count;
  figures->mean = mean;

  sort_scratch->assign(y.begin(), y.end());
  radix_sort(*sort_scratch, radix);
  figures->median = sorted_median(*sort_scratch);
  figures->gini = gini_of_sorted(*sort_scratch);
  if (n < 2) return;
  figures->sens1 = mean_sensitivity(y);

  // The mean of a constant series need not equal its value in floating point: tell constancy
  // from the extremes, not from the deviations.
  if (sort_scratch->front() == sort_scratch->back()) {
    figures->stdev = 0.0;
    return;
  }
  double m2 = 0.0, m3 = 0.0, m4 = 0.0, lag1 = 0.0;
  for (std::size_t t = 0; t < n; ++t) {
    const double d = y[t] - mean;
    const double d2 = d * d;
    m2 += d2;
    m3 += d2 * d;
    m4 += d2 * d2;
    if (t + 1 < n) lag1 += d * (y[t + 1] - mean);
  }
  const double s = std::sqrt(m2 / (count - 1.0));
  figures->stdev = s;
  figures->skew = m3 / (count * s * s * s);
  const double shrink = 1.0 - 1.0 / count;
  figures->kurtosis = count * m4 / (m2 * m2) * shrink * shrink - 3.0;
  figures->ar1 = lag1 / m2;
}

}  // namespace

SeriesFigures describe_series(const MeasuredSeries& series, SeriesFiguresWorkspace* workspace) {
  SeriesFigures figures;
  figures.id = series.id;
  std::vector<double>& y = workspace->values;
  y.clear();
  for (std::size_t i = 0; i < series.mm.size(); ++i) {
    if (std::isnan(series.mm[i])) continue;
    const int year = series.first_year + static_cast<int>(i);
    if (y.empty()) figures.first = year;
    figures.last = year;
    y.push_back(series.mm[i]);
  }
  figures.values = static_cast<int>(y.size());
  if (y.empty()) return figures;
  figures.years = figures.last - figures.first + 1;
  describe_values(y, &figures, &workspace->sorted, &workspace->radix);
  return figures;
}

}  // namespace kvr
