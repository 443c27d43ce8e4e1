#pragma once

#include <span>
#include <vector>

namespace kvr {

/// The share of a wave's variance that the spline keeps at the stiffness period.
inline constexpr double kSplineHalfResponse = 0.5;

/// The Cook-Peters smoothing spline of y_1..y_n, equally spaced: the smoothed values g with
/// g_i = y_i - (c_{i-2} - 2 c_{i-1} + c_i) (c_j = 0 outside 1..n-2), where c solves the
/// symmetric five-band system A c = b of size n - 2 with 6 + 4p/3 on the diagonal, p/3 - 4
/// beside it and 1 two places off, b_i = y_i - 2 y_{i+1} + y_{i+2}, and
/// p = (1 / (1 - f) - 1) * 6 (cos w - 1)^2 / (cos w + 2), w = 2 pi / stiffness: a wave of
/// period `stiffness` keeps the share f of its variance. Solved by Cholesky factors on the
/// band, in linear time. For fewer than 4 values, y unchanged.
[[nodiscard]] std::vector<double> cook_peters_spline(std::span<const double> y, double stiffness,
                                                     double f = kSplineHalfResponse);

}  // namespace kvr
