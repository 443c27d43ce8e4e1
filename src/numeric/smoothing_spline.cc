#include "numeric/smoothing_spline.h"

#include <cmath>
#include <cstddef>
#include <numbers>

namespace kvr {

std::vector<double> cook_peters_spline(std::span<const double> y, double stiffness, double f) {
  const std::size_t n = y.size();
  std::vector<double> g(y.begin(), y.end());
  if (n < 4) return g;

  const double w = 2.0 * std::numbers::pi / stiffness;
  const double cos_w = std::cos(w);
  const double p = (1.0 / (1.0 - f) - 1.0) * 6.0 * (cos_w - 1.0) * (cos_w - 1.0) / (cos_w + 2.0);
  const double diagonal = 6.0 + 4.0 * p / 3.0;
  const double beside = p / 3.0 - 4.0;
  const double two_off = 1.0;

  // A = L L^T with L lower triangular of band width 2: l0 its diagonal, l1 and l2 the first
  // and second subdiagonals (row i's entries in columns i-1 and i-2).
  const std::size_t m = n - 2;
  std::vector<double> l0(m), l1(m, 0.0), l2(m, 0.0), c(m);
  for (std::size_t i = 0; i < m; ++i) {
    if (i >= 2) l2[i] = two_off / l0[i - 2];
    if (i >= 1) l1[i] = (beside - (i >= 2 ? l2[i] * l1[i - 1] : 0.0)) / l0[i - 1];
    l0[i] = std::sqrt(diagonal - l1[i] * l1[i] - l2[i] * l2[i]);
  }
  // Forward: L z = b; backward: L^T c = z.
  for (std::size_t i = 0; i < m; ++i) {
    double z = y[i] - 2.0 * y[i + 1] + y[i + 2];
    if (i >= 1) z -= l1[i] * c[i - 1];
    if (i >= 2) z -= l2[i] * c[i - 2];
    c[i] = z / l0[i];
  }
  for (std::size_t k = m; k-- > 0;) {
    double z = c[k];
    if (k + 1 < m) z -= l1[k + 1] * c[k + 1];
    if (k + 2 < m) z -= l2[k + 2] * c[k + 2];
    c[k] = z / l0[k];
  }
  // g_i = y_i - (c_{i-2} - 2 c_{i-1} + c_i), 1-based; here index i from 0 with c[j] = c_{j+1}.
  auto coefficient = [&](std::ptrdiff_t j) {
    return j >= 0 && j < static_cast<std::ptrdiff_t>(m) ? c[static_cast<std::size_t>(j)] : 0.0;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const auto k = static_cast<std::ptrdiff_t>(i);
    g[i] = y[i] - (coefficient(k - 2) - 2.0 * coefficient(k - 1) + coefficient(k));
  }
  return g;
}

}  // namespace kvr
