#pragma once

#include <optional>
#include <span>

namespace kvr {

/// Pearson's r and the one-sided p-value of r > 0 over `years` pairs.
struct CorrelationTest {
  double r = 0.0;
  double p = 0.0;
  int years = 0;
};

/// Running sums of pairs (x, y) for Pearson's correlation. The sums are kept about a fixed
/// shift (x0, y0) near the values' means, so that the centred sums do not cancel; sums with
/// the same shift may be merged. Whether a side ever differs from its first value is kept to
/// tell a constant side exactly.
class PairSums {
 public:
  PairSums(double shift_x, double shift_y) : shift_x_(shift_x), shift_y_(shift_y) {}

  void add(double x, double y) {
    if (count_ == 0) {
      first_x_ = x;
      first_y_ = y;
    }
    x_varies_ |= x != first_x_;
    y_varies_ |= y != first_y_;
    ++count_;
    const double dx = x - shift_x_;
    const double dy = y - shift_y_;
    sx_ += dx;
    sy_ += dy;
    sxx_ += dx * dx;
    syy_ += dy * dy;
    sxy_ += dx * dy;
  }
  /// Adds the pairs of `other`, which has the same shift.
  void merge(const PairSums& other);
  [[nodiscard]] int count() const { return count_; }

  /// r over the pairs added; empty for fewer than 3 pairs or a constant side.
  [[nodiscard]] std::optional<double> correlation() const;

 private:
  double shift_x_;
  double shift_y_;
  int count_ = 0;
  double sx_ = 0.0, sy_ = 0.0, sxx_ = 0.0, syy_ = 0.0, sxy_ = 0.0;
  double first_x_ = 0.0, first_y_ = 0.0;
  bool x_varies_ = false, y_varies_ = false;
};

/// Pearson's r of the pairs (x_i, y_i) in two passes (means first); empty for fewer than 3
/// pairs or a constant side.
[[nodiscard]] std::optional<double> pearson(std::span<const double> x, std::span<const double> y);

/// The one-sided p-value of a correlation r > 0 over `years` pairs (years >= 3): the upper
/// tail of Student's t with years - 2 degrees of freedom at t = r sqrt((years - 2) / (1 - r^2));
/// 0 at r = 1 and 1 at r = -1.
[[nodiscard]] double correlation_p_value(double r, int years);

/// r and its p-value over the pairs of `sums`; empty where r is.
[[nodiscard]] std::optional<CorrelationTest> correlation_test(const PairSums& sums);

}  // namespace kvr
