#include "numeric/t_distribution.h"

#include <cmath>
#include <limits>

namespace kvr {
namespace {

constexpr int kMaxTerms = 100000;
constexpr double kTolerance = 1e-15;

// Rescaling bound of the recurrence below.
constexpr double kHuge = 1e150;

// The continued fraction K = 1 / (1 + d_1 / (1 + d_2 / (1 + ...))) of I_x(a, b) = x^a y^b /
// (a B(a, b)) K, with d_{2m+1} = -(a + m)(a + b + m) x / ((a + 2m)(a + 2m + 1)) and d_{2m} =
// m (b - m) x / ((a + 2m - 1)(a + 2m)); it converges fast for x < (a + 1) / (a + b + 2).
// Evaluated by the forward recurrence of its convergents A_k / B_k (A_{k+1} = A_k + d_k
// A_{k-1}, likewise B), which needs no division inside the recurrence, rescaled when B grows.
double beta_fraction(double a, double b, double x) {
  double a_before = 0.0, b_before = 1.0;  // A_0, B_0
  double a_now = 1.0, b_now = 1.0;        // A_1, B_1
  double value = 1.0;
  for (int m = 0; m < kMaxTerms; ++m) {
    const double dm = static_cast<double>(m);
    const double odd = -(a + dm) * (a + b + dm) * x / ((a + 2.0 * dm) * (a + 2.0 * dm + 1.0));
    const double even =
        (dm + 1.0) * (b - dm - 1.0) * x / ((a + 2.0 * dm + 1.0) * (a + 2.0 * dm + 2.0));
    double a_next = a_now + odd * a_before;
    double b_next = b_now + odd * b_before;
    a_before = a_now;
    b_before = b_now;
    a_now = a_next + even * a_before;
    b_now = b_next + even * b_before;
    a_before = a_next;
    b_before = b_next;
    if (std::fabs(b_now) > kHuge) {
      a_before /= b_now;
      b_before /= b_now;
      a_now /= b_now;
      b_now = 1.0;
    }
    const double next = a_now / b_now;
    if (std::fabs(next - value) <= kTolerance * std::fabs(next)) return next;
    value = next;
  }
  return value;
}

// ln B(a, b). The segments of a series report ask for one pair (a, b) hundreds of thousands of
// times: the last pair's value is kept.
double log_beta(double a, double b) {
  thread_local double last_a = -1.0;
  thread_local double last_b = -1.0;
  thread_local double last = 0.0;
  if (a != last_a || b != last_b) {
    last = std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
    last_a = a;
    last_b = b;
  }
  return last;
}

// x^a y^b / (a B(a, b)) by logarithms, which stay finite where the powers underflow.
double beta_front(double a, double b, double x, double y) {
  return std::exp(a * std::log(x) + b * std::log(y) - log_beta(a, b)) / a;
}

}  // namespace

double incomplete_beta(double a, double b, double x, double y) {
  if (x <= 0.0) return 0.0;
  if (y <= 0.0) return 1.0;
  if (x < (a + 1.0) / (a + b + 2.0)) return beta_front(a, b, x, y) * beta_fraction(a, b, x);
  return 1.0 - beta_front(b, a, y, x) * beta_fraction(b, a, y);
}

double student_t_upper_tail(double t, double df) {
  if (std::isnan(t) || !(df > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  if (std::isinf(t)) return t > 0.0 ? 0.0 : 1.0;
  // P(|T| > |t|) = I_{df / (df + t^2)}(df / 2, 1 / 2); both arguments computed without
  // subtraction.
  const double t2 = t * t;
  const double two_sided = incomplete_beta(df / 2.0, 0.5, df / (df + t2), t2 / (df + t2));
  return t > 0.0 ? two_sided / 2.0 : 1.0 - two_sided / 2.0;
}

}  // namespace kvr
