#include "measurements/series_assembly.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/dimensions.h"

namespace kvr {
namespace {

TrrwSeries segment(const std::string& id, int first_year, int count, int first_line) {
  TrrwSeries s;
  s.id = id;
  s.first_year = first_year;
  s.count = count;
  s.first_line = first_line;
  s.fields.assign(static_cast<std::size_t>(count), 100);
  s.end_marker = EndMarker::kHundredths;
  return s;
}

// Which segments join: only into the one earlier series of the id, without overlap, and
// within the limit of positions.
TEST(SeriesAssemblyTest, SegmentsJoinOnlyWhenTheyFit) {
  const struct {
    const char* what;
    std::vector<TrrwSeries> segments;
    std::vector<int> into;  // series each segment went into
    int max_length;
  } cases[] = {
      {"later segment first in time, then one after a gap",
       {segment("A", 1900, 10, 1), segment("A", 1880, 5, 3), segment("A", 1930, 5, 5)},
       {0, 0, 0},
       kMaxPositions},
      {"overlap keeps a series of its own; a third segment then has two to choose from",
       {segment("B", 1900, 10, 1), segment("B", 1905, 10, 3), segment("B", 1950, 5, 5)},
       {0, 1, 2},
       kMaxPositions},
      {"a joined series longer than the limit is not made",
       {segment("C", 1900, 10, 1), segment("C", 1991, 10, 3)},
       {0, 1},
       100},
      {"a series without values joins nothing",
       {segment("D", 1900, 0, 1), segment("D", 1910, 5, 2)},
       {0, 1},
       kMaxPositions},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SeriesAssembly assembly(c.max_length);
    std::vector<int> into;
    for (const TrrwSeries& s : c.segments) into.push_back(static_cast<int>(assembly.add(s)));
    assembly.finish();
    EXPECT_EQ(into, c.into);
  }

  // The first case's series: 1880-1884, 15 missing years, 1900-1909, 20 missing, 1930-1934.
  SeriesAssembly assembly(kMaxPositions);
  for (const auto& [first, count] : {std::pair{1900, 10}, {1880, 5}, {1930, 5}}) {
    assembly.add(segment("A", first, count, first - 1870));
  }
  assembly.finish();
  const TrrwSeries& joined = assembly.series()[0];
  EXPECT_EQ(joined.first_year, 1880);
  ASSERT_EQ(joined.count, 55);
  EXPECT_EQ(joined.first_line, 30);
  std::vector<float> values;
  std::vector<double> mm;
  assembly.take_values(0, &values, &mm);
  ASSERT_EQ(values.size(), 55u);
  for (int i = 0; i < joined.count; ++i) {
    const int year = 1880 + i;
    const bool read = year < 1885 || (year >= 1900 && year < 1910) || year >= 1930;
    EXPECT_EQ(is_missing(values[static_cast<std::size_t>(i)]), !read) << year;
  }
  ASSERT_EQ(assembly.notes().size(), 2u);
  EXPECT_EQ(assembly.notes()[1].count, 35);  // missing years between the three segments
}

}  // namespace
}  // namespace kvr
