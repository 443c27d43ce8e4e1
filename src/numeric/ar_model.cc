#include "numeric/ar_model.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <limits>

#include "numeric/autocovariance.h"
#include "numeric/double_pair.h"

namespace kvr {
namespace {

// out[t] = now[t] - sum_{i=1..p} phi[i-1] now[t-i] for t < count: eight values at a time in
// registers, each coefficient applied to all eight.
void subtract_predictions(const double* now, std::size_t count, const double* phi, std::size_t p,
                          double* out) {
  constexpr std::size_t kBlock = 8;
  std::size_t t = 0;
  for (; t + kBlock <= count; t += kBlock) {
    DoublePair e[kBlock / 2];
    for (std::size_t k = 0; k < kBlock / 2; ++k) e[k] = load_pair(now + t + 2 * k);
    for (std::size_t i = 1; i <= p; ++i) {
      const DoublePair f = pair_of(phi[i - 1]);
      const double* back = now + t - i;
      for (std::size_t k = 0; k < kBlock / 2; ++k) e[k] -= f * load_pair(back + 2 * k);
    }
    for (std::size_t k = 0; k < kBlock / 2; ++k) store_pair(out + t + 2 * k, e[k]);
  }
  for (; t < count; ++t) {
    double e = now[t];
    for (std::size_t i = 1; i <= p; ++i) e -= phi[i - 1] * *(now + t - i);
    out[t] = e;
  }
}

}  // namespace

std::optional<ArModel> fit_ar_model(std::span<const double> x) {
  const std::size_t n = x.size();
  if (n < static_cast<std::size_t>(kArMinValues)) return std::nullopt;
  // A constant series has r_0 = 0; its mean need not equal its value in floating point, so
  // tell it by its values.
  if (std::all_of(x.begin(), x.end(), [&](double v) { return v == x[0]; })) return std::nullopt;
  double sum = 0.0;
  for (double v : x) sum += v;
  const double mean = sum / static_cast<double>(n);

  const auto max_lag = std::min(
      n - 1, static_cast<std::size_t>(std::floor(10.0 * std::log10(static_cast<double>(n)))));
  std::vector<double> padded(n + max_lag + kAutocovarianceZeros, 0.0);
  for (std::size_t t = 0; t < n; ++t) padded[t] = x[t] - mean;
  const std::vector<double> r = autocovariances(padded, n, max_lag);
  if (!(r[0] > 0.0)) return std::nullopt;

  // Levinson-Durbin: phi holds the coefficients of order k, best those of the chosen order.
  const double count = static_cast<double>(n);
  std::vector<double> phi;
  std::vector<double> previous;
  double v = r[0];
  double best_aic = count * std::log(v);
  std::vector<double> best;
  for (std::size_t k = 1; k <= max_lag; ++k) {
    double numerator = r[k];
    for (std::size_t i = 1; i < k; ++i) numerator -= phi[i - 1] * r[k - i];
    const double reflection = numerator / v;
    const double next_v = v * (1.0 - reflection * reflection);
    if (!(next_v > 0.0)) break;  // a perfectly predictable series: no higher order
    previous = phi;
    phi.resize(k);
    for (std::size_t i = 1; i < k; ++i)
      phi[i - 1] = previous[i - 1] - reflection * previous[k - i - 1];
    phi[k - 1] = reflection;
    v = next_v;
    const double aic = count * std::log(v) + 2.0 * static_cast<double>(k);
    if (aic < best_aic) {
      best_aic = aic;
      best = phi;
    }
  }
  ArModel model;
  model.order = static_cast<int>(best.size());
  model.coefficients = std::move(best);
  model.mean = mean;
  return model;
}

ArResiduals::ArResiduals(const ArModel& model) : model_(&model) {}

namespace {

// The work arrays of ArResiduals, one set per thread: the deviations of the history and of
// the run in hand, and the values present in a run with gaps.
struct ResidualWork {
  std::vector<double> deviations;
  std::vector<double> present;
};

ResidualWork& residual_work() {
  thread_local ResidualWork work;
  return work;
}

}  // namespace

void ArResiduals::run(std::span<const double> x, std::span<double> out) {
  assert(out.size() == x.size());
  const std::size_t p = static_cast<std::size_t>(model_->order);
  const std::size_t n = x.size();
  const std::size_t kept = history_.size();  // min(p, values seen)
  std::vector<double>& deviations = residual_work().deviations;
  deviations.resize(kept + n);
  double* d = deviations.data();  // d[kept + t] is the deviation of x[t]
  std::copy(history_.begin(), history_.end(), d);
  for (std::size_t t = 0; t < n; ++t) d[kept + t] = x[t] - model_->mean;
  // The first p values of the series have no residual.
  std::size_t start = 0;
  while (start < n && seen_ + start < p) out[start++] = std::numeric_limits<double>::quiet_NaN();
  if (start < n) {
    // kept + start >= p: every d_{t-i} is there.
    double* e = out.data() + start;
    const std::size_t count = n - start;
    subtract_predictions(d + kept + start, count, model_->coefficients.data(), p, e);
    for (std::size_t t = 0; t < count; ++t) e[t] += model_->mean;
  }
  seen_ += n;
  // Keep the last p deviations for the next run.
  const std::size_t keep = std::min(p, kept + n);
  history_.assign(d + kept + n - keep, d + kept + n);
}

void ArResiduals::run_over_gaps(std::span<const double> x, std::span<double> out) {
  assert(out.size() == x.size());
  if (std::none_of(x.begin(), x.end(), [](double v) { return std::isnan(v); })) {
    run(x, out);
    return;
  }
  std::vector<double>& present = residual_work().present;
  present.clear();
  for (const double v : x) {
    if (!std::isnan(v)) present.push_back(v);
  }
  run(present, present);
  std::size_t k = 0;
  for (std::size_t t = 0; t < x.size(); ++t) {
    out[t] = std::isnan(x[t]) ? x[t] : present[k++];
  }
}

void prewhiten(const ArModel& model, std::span<const double> x, std::span<double> out) {
  assert(out.size() == x.size());
  ArResiduals residuals(model);
  residuals.run(x, out);
}

}  // namespace kvr
