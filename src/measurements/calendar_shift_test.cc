#include "measurements/calendar_shift.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/dimensions.h"
#include "grid_testing.h"

namespace kvr {
namespace {

constexpr float M = kMissing;

// Series 1 starts at position 1 with three rings (one of them missing), series 2 at position
// 3 with two; a third row that no series owns, and cells beyond each series' rings, end
// missing whatever they held.
TEST(CalendarShiftTest, MovesRingsToCalendarPositions) {
  MeasurementSet set;
  set.series = {SeriesInfo{"A", 1901, 1903, 3, 1}, SeriesInfo{"B", 1903, 1904, 2, 3}};
  Grid<float> values = make_grid({
      {1, M, 3, 9, 9},
      {4, 5, 9, 9, 9},
      {9, 9, 9, 9, 9},
  });
  shift_to_calendar(set, &values);
  EXPECT_EQ(rows_of(values), (std::vector<std::vector<float>>{
                                 {1, M, 3, M, M},
                                 {M, M, 4, 5, M},
                                 {M, M, M, M, M},
                             }));
}

}  // namespace
}  // namespace kvr
