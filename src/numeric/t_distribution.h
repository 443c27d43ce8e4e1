#pragma once

namespace kvr {

/// The regularized incomplete beta function I_x(a, b) for a, b > 0 and 0 <= x <= 1, given x
/// and y = 1 - x apart, so that a caller who knows 1 - x exactly loses nothing to the
/// subtraction. Relative error near 1e-13 where the function is not tiny, and near 1e-12 for
/// a or b up to 10^4 and results down to 1e-300.
[[nodiscard]] double incomplete_beta(double a, double b, double x, double y);

/// The upper tail P(T > t) of Student's t distribution with `df` > 0 degrees of freedom.
[[nodiscard]] double student_t_upper_tail(double t, double df);

}  // namespace kvr
