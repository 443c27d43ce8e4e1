#pragma once

namespace kvr {

/// Major tick interval and minor subdivisions of one axis, as plaxes takes them. An interval
/// and subdivision count of 0 leave the choice to PLplot.
struct AxisTicks {
  double interval = 0.0;
  int subdivisions = 0;

  bool operator==(const AxisTicks&) const = default;
};

/// The year axis of both plot pages: whole decades around the calendar range, one decade
/// beyond each end. x_lo = (first_year / 10 - 1) * 10 and x_hi = (last_year / 10 + 1) * 10
/// with division truncating toward zero, so -55 gives x_lo -60 and x_hi -40.
struct YearAxis {
  int lo = 0;
  int hi = 0;
  int width() const { return hi - lo; }
};
YearAxis year_axis(int first_year, int last_year);

/// Ticks of the year axis by its width: every 10 years up to a width of 100, then 100, 100,
/// 250 and 500 years.
AxisTicks year_ticks(int width);

/// The top of a value axis, a whole number above the largest value: INT(value_hi + 0.5) + 1.
int value_top(float value_hi);

/// Ticks of a value axis by its top (value_top). Above 100 PLplot chooses.
AxisTicks value_ticks(int top);

/// Ticks of a sample-depth axis by its top (largest depth + 1).
AxisTicks depth_ticks(float top);

/// The axes both plot pages share: the years, the values of the upper panel and the sample
/// depth of the lower one.
struct YearPanelAxes {
  YearAxis x;
  AxisTicks x_ticks;
  int y_top = 0;
  AxisTicks y_ticks;
  float depth_top = 0.0f;
  AxisTicks depth_ticks;
};

/// The shared axes for the years first_year..last_year, the largest value `value_hi` and the
/// depth axis top `depth_top`.
YearPanelAxes year_panel_axes(int first_year, int last_year, float value_hi, float depth_top);

/// Ticks of the chronology panel's value axis by its top (largest upper band + 0.25). Above
/// 500 the upper panel's ticks `above_500` are used.
AxisTicks band_ticks(float top, AxisTicks above_500);

}  // namespace kvr
