#include "residual_rank_model.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/dimensions.h"

namespace kvr::test {
namespace {

// The residuals of x (gaps closed) by the AR model of least AIC, NaN for the first `order`
// values; empty when x cannot be prewhitened (3 values or fewer, or constant).
std::vector<double> prewhitened(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  if (n <= 3) return {};
  double mean = 0.0;
  for (double v : x) mean += v;
  mean /= n;
  const int max_order = std::min(n - 1, static_cast<int>(std::floor(10.0 * std::log10(n))));
  std::vector<double> r(static_cast<std::size_t>(max_order + 1), 0.0);
  for (int k = 0; k <= max_order; ++k) {
    for (int t = 0; t + k < n; ++t) r[k] += (x[t] - mean) * (x[t + k] - mean);
    r[k] /= n;
  }
  if (!(r[0] > 0.0)) return {};
  // Levinson-Durbin: phi[k] holds the coefficients of order k.
  std::vector<std::vector<double>> phi(1);
  double v = r[0];
  double best_aic = n * std::log(v);
  int order = 0;
  for (int k = 1; k <= max_order; ++k) {
    double acc = r[k];
    for (int i = 1; i < k; ++i) acc -= phi[k - 1][i - 1] * r[k - i];
    const double reflection = acc / v;
    std::vector<double> next(static_cast<std::size_t>(k));
    for (int i = 1; i < k; ++i)
      next[i - 1] = phi[k - 1][i - 1] - reflection * phi[k - 1][k - i - 1];
    next[k - 1] = reflection;
    const double next_v = v * (1.0 - reflection * reflection);
    if (!(next_v > 0.0)) break;
    phi.push_back(next);
    v = next_v;
    const double aic = n * std::log(v) + 2.0 * k;
    if (aic < best_aic) {
      best_aic = aic;
      order = k;
    }
  }
  std::vector<double> e(x.size(), std::nan(""));
  for (int t = order; t < n; ++t) {
    double predicted = 0.0;
    for (int i = 1; i <= order; ++i) predicted += phi[order][i - 1] * (x[t - i] - mean);
    e[t] = x[t] - mean - predicted + mean;
  }
  return e;
}

}  // namespace

Chronology modelled_residual_chronology(const Grid<float>& by_year, int rows, int span) {
  Grid<float> residuals(rows, span, kMissing);
  for (int j = 1; j <= rows; ++j) {
    std::vector<double> values;
    for (int p = 1; p <= span; ++p) {
      if (!is_missing(by_year(j, p))) values.push_back(by_year(j, p));
    }
    const std::vector<double> e = prewhitened(values);
    if (e.empty()) continue;
    std::size_t k = 0;
    for (int p = 1; p <= span; ++p) {
      if (is_missing(by_year(j, p))) continue;
      if (!std::isnan(e[k])) residuals(j, p) = static_cast<float>(e[k]);
      ++k;
    }
  }
  return build_chronology(residuals, rows, span);
}

}  // namespace kvr::test
