#include "measurements/power_transform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "common/dimensions.h"
#include "numeric/quicksort.h"

namespace kvr {
namespace {

// Values below this are raised to it before a positive power is applied.
constexpr float kPowerFloor = 0.01f;
// The log transform gives a value of 0 or less the logarithm of this.
constexpr float kLogFloor = 0.05f;
// Powers below this are taken as 0: the series is log-transformed.
constexpr float kLowestPower = 0.05f;

bool all_finite(std::span<const float> values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

// Smallest and largest of those `values` whose cell in `cells` is not missing, from an
// ascending sort of a copy. False when every cell is missing.
bool sorted_bounds(std::span<const float> cells, std::span<const float> values,
                   std::vector<float>* scratch, float* low, float* high) {
  scratch->clear();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (!is_missing(cells[i])) scratch->push_back(values[i]);
  }
  if (scratch->empty()) return false;
  quicksort(*scratch);
  *low = scratch->front();
  *high = scratch->back();
  return true;
}

// Transforms one series into `out`; false when a result is not finite. Missing cells take no
// part in the range and stay missing.
bool transform_series(std::span<const float> values, float power, std::vector<float>* scratch,
                      std::vector<float>* out) {
  const std::size_t first = out->size();
  out->insert(out->end(), values.begin(), values.end());
  const std::span<float> transformed(out->data() + first, values.size());
  float low = 0.0f;
  float high = 0.0f;
  if (!sorted_bounds(values, values, scratch, &low, &high)) return true;
  const float range = high - low;

  for (std::size_t i = 0; i < values.size(); ++i) {
    const float v = values[i];
    if (is_missing(v)) continue;
    if (power > 0.0f) {
      transformed[i] = std::pow(std::max(v, kPowerFloor), power);
    } else {
      transformed[i] = v > 0.0f ? std::log(v) : std::log(kLogFloor);
    }
  }

  float low_t = 0.0f;
  float high_t = 0.0f;
  (void)sorted_bounds(values, transformed, scratch, &low_t, &high_t);
  const float range_t = high_t - low_t;
  if (range_t == 0.0f) {
    // All transformed values are equal (a constant series, a single value): there is no
    // range to map back from, so the series keeps its values.
    std::copy(values.begin(), values.end(), transformed.begin());
    return true;
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!is_missing(values[i])) transformed[i] = (transformed[i] - low_t) * range / range_t + low;
  }
  return all_finite(transformed);
}

}  // namespace

float regression_slope(std::span<const float> x, std::span<const float> y) {
  const std::size_t points = std::min(x.size(), y.size());
  if (points == 0) return 0.0f;
  float sx = 0.0f;
  float sy = 0.0f;
  float sxx = 0.0f;
  float sxy = 0.0f;
  for (std::size_t k = 0; k < points; ++k) {
    sx += x[k];
    sy += y[k];
    sxx += x[k] * x[k];
    sxy += x[k] * y[k];
  }
  const float m = static_cast<float>(points);
  const float denominator = sxx - sx * sx / m;
  if (denominator == 0.0f || std::isnan(denominator)) return 0.0f;
  return (sxy - sx * sy / m) / denominator;
}

float power_from_slope(float slope) {
  float power = 1.0f - slope;
  if (power < kLowestPower) power = 0.0f;
  if (power > 1.0f) power = 1.0f;
  return power;
}

float series_power(std::span<const float> values) {
  std::vector<float> x;
  std::vector<float> y;
  for (std::size_t i = 1; i < values.size(); ++i) {
    // A pair with a missing value says nothing about the spread.
    if (is_missing(values[i]) || is_missing(values[i - 1])) continue;
    const float level = values[i];
    const float spread = std::fabs(values[i] - values[i - 1]);
    if (level > 0.0f && spread > 0.0f) {
      x.push_back(std::log(level));
      y.push_back(std::log(spread));
    }
  }
  return power_from_slope(regression_slope(x, y));
}

bool power_transform(MeasurementSet* set, float* mean_power) {
  *mean_power = 0.0f;
  const int count = set->count();
  if (count == 0) return true;
  Grid<float>& grid = set->values;
  if (grid.rows() < count) return false;
  std::size_t total = 0;
  for (int j = 1; j <= count; ++j) {
    const int length = set->info(j).length;
    if (length > grid.cols()) return false;
    if (length > 0) total += static_cast<std::size_t>(length);
  }

  // Every series is transformed into `transformed` first and written back only when all of
  // them came out finite, so a failure leaves the set as it was.
  std::vector<float> transformed;
  transformed.reserve(total);
  std::vector<float> scratch;
  float power_sum = 0.0f;
  for (int j = 1; j <= count; ++j) {
    const int length = set->info(j).length;
    if (length <= 0) {
      power_sum += series_power({});
      continue;
    }
    const std::span<const float> values(grid.row(j), static_cast<std::size_t>(length));
    if (!all_finite(values)) return false;
    const float power = series_power(values);
    power_sum += power;
    if (!transform_series(values, power, &scratch, &transformed)) return false;
  }
  const float mean = power_sum / static_cast<float>(count);
  if (!std::isfinite(mean)) return false;

  std::size_t next = 0;
  for (int j = 1; j <= count; ++j) {
    const int length = set->info(j).length;
    if (length <= 0) continue;
    std::copy_n(transformed.begin() + static_cast<std::ptrdiff_t>(next), length, grid.row(j));
    next += static_cast<std::size_t>(length);
  }
  *mean_power = mean;
  return true;
}

}  // namespace kvr
