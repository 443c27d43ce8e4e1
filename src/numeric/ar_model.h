#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace kvr {

/// Series of this many values or fewer are not prewhitened.
inline constexpr int kArMinValues = 4;

/// An autoregressive model of a series: x_t - mean = sum_i coefficients[i-1] (x_{t-i} - mean)
/// + e_t, i = 1..order.
struct ArModel {
  int order = 0;
  std::vector<double> coefficients;  // phi_{order,1..order}
  double mean = 0.0;
};

/// Fits the model to x_1..x_n (no missing value): the Yule-Walker equations solved by the
/// Levinson-Durbin recursion for every order k = 0..K, K = min(n - 1, floor(10 log10 n)), with
/// the autocovariances r_k = (1/n) sum_{t=1}^{n-k} d_t d_{t+k} of d = x - mean; the order is
/// the smallest k with the least AIC(k) = n ln v_k + 2k, v_k the innovation variance. The
/// recursion stops at the last order with v_k > 0. Empty for fewer than kArMinValues values
/// and for a constant series (r_0 = 0: all values equal).
[[nodiscard]] std::optional<ArModel> fit_ar_model(std::span<const double> x);

/// The prewhitened values of a series fed in order, a run of values at a time: the model's
/// residual plus its mean, e_t = d_t - sum_i phi_i d_{t-i} + mean, and NaN for the first
/// `order` values of the series.
class ArResiduals {
 public:
  explicit ArResiduals(const ArModel& model);
  /// The residuals of the next x.size() values of the series into out (as long as x; it may
  /// be x itself).
  void run(std::span<const double> x, std::span<double> out);
  /// The same for a stretch of the series in which NaN marks a missing value: the gaps are
  /// closed for the model and left NaN in out (as long as x; it may be x itself).
  void run_over_gaps(std::span<const double> x, std::span<double> out);
  /// run_over_gaps of `values` into themselves.
  void run_in_place(std::span<double> values) { run_over_gaps(values, values); }

 private:
  const ArModel* model_;
  // The deviations d of the series' last `order` values (fewer at its start). The runs are
  // worked in arrays of the thread's own, so that a thousand series filtered a block at a
  // time hold no more than their models' orders.
  std::vector<double> history_;
  std::size_t seen_ = 0;
};

/// Prewhitens all of x (no missing value) into out (x's length) with `model`.
void prewhiten(const ArModel& model, std::span<const double> x, std::span<double> out);

}  // namespace kvr
