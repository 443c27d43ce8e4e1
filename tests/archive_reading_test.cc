// The archive files beside the checkout, read as the program reads them: series counts, values
// and warnings worked out from the files. Each test skips when its files are not there.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "decade_reading.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

DecadeReading read_archive_file(const std::string& name) {
  std::ifstream in(archive_file(name), std::ios::binary);
  return read_decade(in);
}

// Files of the archive, read as they are: series counts and values worked out from the files.
TEST(TrrwArchiveTest, RealFiles) {
  const struct {
    const char* name;
    std::size_t series;
  } files[] = {
      {"itrdb_ca533.rwl", 34},
      {"itrdb_tx042.rwl", 95},
      {"itrdb_egy002.rwl", 7},
      {"itrdb_neth012.rwl", 7},
      {"itrdb_ca708.rwl", 69},
      {"itrdb_swed334.rwl", 945},
      {"itrdb_neth031.rwl", 1707},
      {"itrdb_ok049l.rwl", 446},
      {"itrdb_turk045.rwl", 46},
      {"itrdb_rus393.rwl", 37},
      {"itrdb_co691.rwl", 48},
      // The record of -999 after the end marker on line 383 is passed over: 26 series.
      {"itrdb_brit020.rwl", 26},
  };
  for (const auto& f : files) {
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(f.name);
    const DecadeReading r = read_archive_file(f.name);
    EXPECT_EQ(r.series.size(), f.series) << f.name;
    EXPECT_EQ(r.statuses.back(), TrrwStatus::kEndOfFile) << f.name;
    EXPECT_EQ(r.state.dropped.line_number, 0) << f.name;
    for (const TrrwSeries& s : r.series) EXPECT_GT(s.count, 0) << f.name << " " << s.id;
  }
}

const TrrwSeries* find_series(const DecadeReading& r, const std::string& id) {
  for (const TrrwSeries& s : r.series) {
    if (s.id == id) return &s;
  }
  return nullptr;
}

TEST(TrrwArchiveTest, ValuesWorkedOutByHand) {
  const struct {
    const char* file;
    const char* id;
    bool first;  // the file's first series
    int first_year;
    int count;
    std::vector<std::pair<std::size_t, float>> values;  // position from 0, value in mm
  } cases[] = {
      // BC years written as a 6-character id, a blank and a 5-wide year; the first record of
      // -2162 holds two values; 2 + 9 x 10 + 1 values to the 999 on the line of -2070.
      {"itrdb_egy002.rwl", "102050  ", true, -2162, 93, {{0, 1.77f}, {1, 2.03f}, {92, 2.04f}}},
      // Lone CR line ends, no final one: KBK121 from -2035 with 5 + 4 x 10 + 7 values.
      {"itrdb_turk045.rwl", "KBK121  ", true, -2035, 52, {{0, 0.83f}, {51, 0.65f}}},
      // The tab on line 654 sits in an unused slot of wpx151's first record (-198, 8 values);
      // 8 + 16 x 10 + 4 values in 0.001 mm to the -9999 of -30.
      {"itrdb_co691.rwl",
       "wpx151  ",
       false,
       -198,
       172,
       {{0, 0.657f}, {7, 0.622f}, {8, 0.614f}, {171, 0.444f}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(c.file);
    const DecadeReading r = read_archive_file(c.file);
    const TrrwSeries* series = find_series(r, c.id);
    ASSERT_NE(series, nullptr);
    if (c.first) {
      EXPECT_EQ(series, &r.series.front());
    }
    EXPECT_EQ(series->first_year, c.first_year);
    ASSERT_EQ(series->count, c.count);
    for (const auto& [at, value] : c.values) EXPECT_FLOAT_EQ(series->values[at], value) << at;
  }
  // The header lines of the first file are echoed.
  const DecadeReading egy = read_archive_file("itrdb_egy002.rwl");
  EXPECT_TRUE(contains(egy.state.echo, "title of data:"));
}

}  // namespace
}  // namespace kvr::test
