#include "numeric/correlation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "numeric/t_distribution.h"

namespace kvr {

void PairSums::merge(const PairSums& other) {
  if (other.count_ == 0) return;
  if (count_ == 0) {
    *this = other;
    return;
  }
  x_varies_ = x_varies_ || other.x_varies_ || other.first_x_ != first_x_;
  y_varies_ = y_varies_ || other.y_varies_ || other.first_y_ != first_y_;
  count_ += other.count_;
  sx_ += other.sx_;
  sy_ += other.sy_;
  sxx_ += other.sxx_;
  syy_ += other.syy_;
  sxy_ += other.sxy_;
}

std::optional<double> PairSums::correlation() const {
  if (count_ < 3 || !x_varies_ || !y_varies_) return std::nullopt;
  const double n = static_cast<double>(count_);
  const double cxx = sxx_ - sx_ * sx_ / n;
  const double cyy = syy_ - sy_ * sy_ / n;
  const double cxy = sxy_ - sx_ * sy_ / n;
  if (!(cxx > 0.0 && cyy > 0.0)) return std::nullopt;
  return std::clamp(cxy / std::sqrt(cxx * cyy), -1.0, 1.0);
}

std::optional<double> pearson(std::span<const double> x, std::span<const double> y) {
  const std::size_t n = std::min(x.size(), y.size());
  if (n < 3) return std::nullopt;
  const auto [x_min, x_max] =
      std::minmax_element(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
  const auto [y_min, y_max] =
      std::minmax_element(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(n));
  if (*x_min == *x_max || *y_min == *y_max) return std::nullopt;
  double mx = 0.0;
  double my = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    mx += x[i];
    my += y[i];
  }
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double cxx = 0.0, cyy = 0.0, cxy = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    cxx += (x[i] - mx) * (x[i] - mx);
    cyy += (y[i] - my) * (y[i] - my);
    cxy += (x[i] - mx) * (y[i] - my);
  }
  return std::clamp(cxy / std::sqrt(cxx * cyy), -1.0, 1.0);
}

double correlation_p_value(double r, int years) {
  if (r >= 1.0) return 0.0;
  if (r <= -1.0) return 1.0;
  const double df = static_cast<double>(years - 2);
  const double t = r * std::sqrt(df / ((1.0 - r) * (1.0 + r)));
  return student_t_upper_tail(t, df);
}

std::optional<CorrelationTest> correlation_test(const PairSums& sums) {
  const std::optional<double> r = sums.correlation();
  if (!r) return std::nullopt;
  return CorrelationTest{*r, correlation_p_value(*r, sums.count()), sums.count()};
}

}  // namespace kvr
