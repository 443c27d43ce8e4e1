#include "plot/axis_ticks.h"

namespace kvr {

YearAxis year_axis(int first_year, int last_year) {
  // Integer division truncates toward zero, as the axis rule wants for years before the
  // common era too.
  return YearAxis{(first_year / 10 - 1) * 10, (last_year / 10 + 1) * 10};
}

AxisTicks year_ticks(int width) {
  if (width <= 100) return {10.0, 5};
  if (width <= 500) return {100.0, 10};
  if (width <= 1000) return {100.0, 4};
  if (width <= 2000) return {250.0, 2};
  return {500.0, 2};
}

int value_top(float value_hi) { return static_cast<int>(value_hi + 0.5f) + 1; }

AxisTicks value_ticks(int top) {
  if (top <= 1) return {0.2, 1};
  if (top <= 3) return {0.5, 1};
  if (top <= 10) return {1.0, 1};
  if (top <= 50) return {10.0, 2};
  if (top <= 100) return {20.0, 1};
  return {0.0, 0};
}

AxisTicks depth_ticks(float top) {
  if (top <= 10.0f) return {1.0, 0};
  if (top <= 30.0f) return {4.0, 2};
  if (top <= 100.0f) return {20.0, 5};
  if (top <= 200.0f) return {25.0, 4};
  return {100.0, 50};
}

AxisTicks band_ticks(float top, AxisTicks above_500) {
  if (top <= 1.0f) return {0.2, 0};
  if (top <= 3.0f) return {0.5, 0};
  if (top <= 10.0f) return {2.0, 1};
  if (top <= 100.0f) return {20.0, 2};
  if (top <= 500.0f) return {50.0, 1};
  return above_500;
}

}  // namespace kvr
