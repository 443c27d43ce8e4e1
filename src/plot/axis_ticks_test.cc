#include "plot/axis_ticks.h"

#include <gtest/gtest.h>

namespace kvr {
namespace {

// The ticks expected for one input of a tick rule.
template <typename Input>
struct TicksCase {
  Input input;
  AxisTicks ticks;
};

TEST(AxisTicksTest, YearAxisTakesWholeDecadesBeyondBothEnds) {
  struct Case {
    int first_year, last_year, lo, hi;
  };
  const Case cases[] = {
      {1901, 1980, 1890, 1990},  // width 100
      {1901, 1990, 1890, 2000},  // width 110
      {1650, 1995, 1640, 2000},  // width 360
      {1900, 1909, 1890, 1910},  // a year on the decade still gets a whole decade before it
      {-55, -55, -60, -40},      // before the common era, division truncates toward zero
      {-5, 5, -10, 10},         {-2220, -2070, -2230, -2060},
  };
  for (const Case& c : cases) {
    const YearAxis axis = year_axis(c.first_year, c.last_year);
    EXPECT_EQ(axis.lo, c.lo) << c.first_year;
    EXPECT_EQ(axis.hi, c.hi) << c.last_year;
  }
}

TEST(AxisTicksTest, YearTicksByWidth) {
  const TicksCase<int> cases[] = {
      {30, {10.0, 5}},    {100, {10.0, 5}},   {101, {100.0, 10}}, {110, {100.0, 10}},
      {360, {100.0, 10}}, {500, {100.0, 10}}, {501, {100.0, 4}},  {1000, {100.0, 4}},
      {1001, {250.0, 2}}, {2000, {250.0, 2}}, {2001, {500.0, 2}}, {7440, {500.0, 2}},
  };
  for (const auto& c : cases) EXPECT_EQ(year_ticks(c.input), c.ticks) << c.input;
}

TEST(AxisTicksTest, ValueTopAndTicks) {
  struct Case {
    float value_hi;
    int top;
    AxisTicks ticks;
  };
  const Case cases[] = {
      {-99.99f, -98, {0.2, 1}},  // no value at all: the chronology plot's starting value
      {0.0f, 1, {0.2, 1}},       // nothing above zero still gives a top of 1
      {0.4f, 1, {0.2, 1}},       {0.5f, 2, {0.5, 1}},    {2.4f, 3, {0.5, 1}},
      {2.6f, 4, {1.0, 1}},       {9.4f, 10, {1.0, 1}},   {9.5f, 11, {10.0, 2}},
      {49.0f, 50, {10.0, 2}},    {50.0f, 51, {20.0, 1}}, {99.0f, 100, {20.0, 1}},
      {99.5f, 101, {0.0, 0}},  // above 100 PLplot chooses
      {1234.0f, 1235, {0.0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(value_top(c.value_hi), c.top) << c.value_hi;
    EXPECT_EQ(value_ticks(c.top), c.ticks) << c.top;
  }
}

TEST(AxisTicksTest, DepthTicksByTop) {
  const TicksCase<float> cases[] = {
      {2.0f, {1.0, 0}},    {10.0f, {1.0, 0}},  // largest depth 9
      {11.0f, {4.0, 2}},   {30.0f, {4.0, 2}},  // largest depth 10
      {31.0f, {20.0, 5}},  {100.0f, {20.0, 5}},   {101.0f, {25.0, 4}},
      {200.0f, {25.0, 4}}, {201.0f, {100.0, 50}}, {946.0f, {100.0, 50}},
  };
  for (const auto& c : cases) EXPECT_EQ(depth_ticks(c.input), c.ticks) << c.input;
}

TEST(AxisTicksTest, BandTicksByTop) {
  const AxisTicks upper{20.0, 1};
  const TicksCase<float> cases[] = {
      {0.25f, {0.2, 0}},    {1.0f, {0.2, 0}},    {1.05f, {0.5, 0}},   {3.0f, {0.5, 0}},
      {3.25f, {2.0, 1}},    {10.0f, {2.0, 1}},   {10.25f, {20.0, 2}}, {100.0f, {20.0, 2}},
      {100.25f, {50.0, 1}}, {500.0f, {50.0, 1}}, {500.25f, upper},    {3000.0f, upper},
  };
  for (const auto& c : cases) EXPECT_EQ(band_ticks(c.input, upper), c.ticks) << c.input;
}

}  // namespace
}  // namespace kvr
