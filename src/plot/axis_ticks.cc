#include "plot/axis_ticks.h"

#include <span>

namespace kvr {
namespace {

// One rung of a tick ladder: the ticks for values up to `limit`. The limits are whole numbers,
// which compare exactly with the int and float values of the axes.
struct TickStep {
  double limit;
  AxisTicks ticks;
};

// The ticks of the first rung whose limit `value` does not exceed, or `beyond` above them all.
AxisTicks ticks_by_limit(double value, std::span<const TickStep> steps, AxisTicks beyond) {
  for (const TickStep& step : steps) {
    if (value <= step.limit) return step.ticks;
  }
  return beyond;
}

}  // namespace

YearAxis year_axis(int first_year, int last_year) {
  // Integer division truncates toward zero, as the axis rule wants for years before the
  // common era too.
  return YearAxis{(first_year / 10 - 1) * 10, (last_year / 10 + 1) * 10};
}

AxisTicks year_ticks(int width) {
  constexpr TickStep kSteps[] = {
      {100, {10.0, 5}}, {500, {100.0, 10}}, {1000, {100.0, 4}}, {2000, {250.0, 2}}};
  return ticks_by_limit(width, kSteps, {500.0, 2});
}

int value_top(float value_hi) { return static_cast<int>(value_hi + 0.5f) + 1; }

AxisTicks value_ticks(int top) {
  // Above 100 PLplot chooses.
  constexpr TickStep kSteps[] = {
      {1, {0.2, 1}}, {3, {0.5, 1}}, {10, {1.0, 1}}, {50, {10.0, 2}}, {100, {20.0, 1}}};
  return ticks_by_limit(top, kSteps, {0.0, 0});
}

AxisTicks depth_ticks(float top) {
  constexpr TickStep kSteps[] = {
      {10, {1.0, 0}}, {30, {4.0, 2}}, {100, {20.0, 5}}, {200, {25.0, 4}}};
  return ticks_by_limit(top, kSteps, {100.0, 50});
}

AxisTicks band_ticks(float top, AxisTicks above_500) {
  constexpr TickStep kSteps[] = {
      {1, {0.2, 0}}, {3, {0.5, 0}}, {10, {2.0, 1}}, {100, {20.0, 2}}, {500, {50.0, 1}}};
  return ticks_by_limit(top, kSteps, above_500);
}

YearPanelAxes year_panel_axes(int first_year, int last_year, float value_hi, float depth_top) {
  YearPanelAxes axes;
  axes.x = year_axis(first_year, last_year);
  axes.x_ticks = year_ticks(axes.x.width());
  axes.y_top = value_top(value_hi);
  axes.y_ticks = value_ticks(axes.y_top);
  axes.depth_top = depth_top;
  axes.depth_ticks = depth_ticks(depth_top);
  return axes;
}

}  // namespace kvr
