// The archive files beside the checkout, read as the program reads them: series counts, values
// and warnings worked out from the files. Each test skips when its files are not there.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "common/fixed_format.h"
#include "decade_reading.h"
#include "driver/reading_text.h"
#include "measurements/measurement_file.h"
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
    EXPECT_EQ(r.kinds.back(), SeriesRead::Kind::kEndOfFile) << f.name;
    EXPECT_FALSE(r.cut.has_value()) << f.name;
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
  EXPECT_FALSE(egy.text_records.front().empty());
}

// What the archive files whose habits the reader mends read as: the series named, their
// years and value counts, a few values (thousandths of a millimetre, -1 for missing) and the
// warnings' lines.
struct ArchiveSeries {
  const char* id;
  int first_year;
  int last_year;
  int length;
  std::vector<std::pair<int, long>> values;  // year, value
};

struct ArchiveReading {
  const char* file;
  int series;
  std::vector<ArchiveSeries> checked;
  std::vector<std::string> warnings;  // parts of warnings that must be printed
};

const SeriesInfo* find(const MeasurementSet& set, const std::string& id, int first_year, int* j) {
  for (*j = 1; *j <= set.count(); ++*j) {
    const SeriesInfo& info = set.info(*j);
    if (trim_right(info.id) == id && info.first_year == first_year) return &info;
  }
  return nullptr;
}

TEST(MeasurementFileArchiveTest, ArchiveFilesReadEveryValueAtItsYear) {
  const std::vector<ArchiveReading> files = {
      {"itrdb_brit020.rwl",
       26,
       {{"569012", 1773, 1978, 206, {{1801, 560}, {1970, -1}, {1971, 650}}},
        {"568112", 1773, 1906, 134, {{1906, 260}}},
        {"568121", 1810, 1978, 169, {{1810, 2850}}}},
       {"line 41, series \"569012\": missing-value code -999 in 1 value from year 1970",
        "line 384, series \"568112\": a record after the end marker (line 383)"}},
      {"itrdb_mong007e.rwl",
       26,
       {{"113021", 1784, 1982, 199, {{1823, 420}, {1824, -1}, {1830, -1}, {1831, 400}}}},
       {"line 50, series \"113021\": missing-value code -999 in 7 values from year 1824"}},
      {"itrdb_paki019.rwl",
       15,
       {{"BabJ04A",
         1676,
         2007,
         332,
         {{1899, 612}, {1900, -1}, {1905, 545}, {1910, -1}, {1929, -1}, {1930, 186}, {2007, 437}}}},
       {"line 27, series \"BabJ04A\": missing-value code -888 in 5 values from year 1900",
        "line 28, series \"BabJ04A\": the record's year 1930 leaves the years 1910 to 1929"}},
      {"itrdb_mexi014.rwl",
       50,
       {{"271141", 1695, 1971, 277, {{1809, 490}, {1810, -1}, {1879, -1}, {1880, 620}}},
        {"271041", 1676, 1969, 294, {{1720, 1500}, {1721, -1}, {1722, -1}, {1723, 1260}}}},
       {"line 498, series \"271141\": the record's year 1880 leaves the years 1810 to 1879",
        "line 67, series \"271041\": the id comes back after its series of line 61 ended"}},
      {"itrdb_dza010.rwl",
       44,
       {{"BES04B", 1945, 2011, 67, {{1951, 2730}, {1952, -1}, {1953, 3420}}}},
       {"line 54, series \"BES04B\": 999 in 1 value from year 1952 is followed by "
        "measurements, so it ends nothing; read as missing"}},
      {"itrdb_germ11.rwl",
       8,
       {{"894121", 1700, 1958, 259, {{1815, 970}, {1816, -1}, {1817, 940}}}},
       {"line 15, series \"894121\": 999 in 1 value from year 1816"}},
      {"itrdb_cana569.rwl",
       81,
       {{"BZR01B", 1907, 2007, 101, {{2005, 999}, {2006, 879}, {2007, 1029}}}},
       {"line 25, series \"BZR01B\": 999 in 1 value from year 2005 is followed by "
        "measurements, so it ends nothing; read as 0.999 mm"}},
      {"itrdb_deu317.rwl",
       26,
       {{"dmm0606m", 1722, 2016, 295, {{1799, 999}, {1800, 787}}}},
       {"line 156, series \"dmm0606m\": 999 in 2 values from year 1799"}},
      {"itrdb_newz016.rwl",
       47,
       {{"OKA724", 1784, 1975, 192, {{1784, 1470}, {1789, 1310}, {1790, 1170}}},
        {"OKA721", 1794, 1976, 183, {{1794, 940}}}},
       {"line 141, series \"OKA724\": the record of \"OKA721\" (1794) follows without an end "
        "marker; the series ends at 1789, in 0.01 mm",
        "line 181, series \"OKA724\": the id comes back after its series of line 140 ended"}},
      {"itrdb_co691.rwl",
       38,
       {{"wpk072", 1136, 2007, 872, {{1277, 448}, {1278, -1}, {1349, -1}, {1350, 212}}},
        {"wpx181", -277, 1018, 1296, {{-270, 707}, {-267, 1022}, {-266, 661}}}},
       {"line 163, series \"wpk072\": the id comes back after its series of line 148 ended",
        "line 440, series \"wpx181\": the values are shifted in their columns"}},
      {"itrdb_or088.rwl",
       36,
       {{"OLF19B-1", 1490, 1703, 214, {{1703, 92}}}, {"OLF19B-2", 1740, 1990, 251, {{1740, 560}}}},
       {"line 1050, series \"OLF19B-2\": the id runs into the year; read as the id "
        "\"OLF19B-2\" and the year 1740"}},
      {"itrdb_ak051.rwl",
       39,
       {{"NCFL06-N", 1828, 2001, 174, {{1828, 912}, {1829, 1145}}}},
       {"line 4, series \"NCFL06-N\": the id runs into the year"}},
      {"itrdb_rus381.rwl",
       205,
       {{"\xD0\x92\xD0\x92"
         "9A",
         1540,
         1631,
         92,
         {{1540, 620}, {1631, 470}}}},
       {"line 785, series \"\xD0\x92\xD0\x92"
        "9A\": the record holds UTF-8 characters"}},
      {"itrdb_mar035.rwl",
       117,
       {{"JAF17A", 1062, 1330, 269, {{1300, 1}, {1301, 190}, {1302, 1}, {1303, 190}}}},
       {"line 1289, series \"JAF17A\": the values are shifted in their columns"}},
  };
  for (const ArchiveReading& f : files) {
    SCOPED_TRACE(f.file);
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(f.file);
    std::ifstream in(archive_file(f.file), std::ios::binary);
    const MeasurementReading r = read_measurement_file(in);
    ASSERT_TRUE(r.usable) << static_cast<int>(r.refusal.kind);
    EXPECT_EQ(r.set.count(), f.series);
    for (const ArchiveSeries& s : f.checked) {
      int j = 0;
      const SeriesInfo* info = find(r.set, s.id, s.first_year, &j);
      ASSERT_NE(info, nullptr) << s.id << " " << s.first_year;
      EXPECT_EQ(info->last_year, s.last_year) << s.id;
      EXPECT_EQ(info->length, s.length) << s.id;
      for (const auto& [year, value] : s.values) {
        const float v = r.set.values(j, year - s.first_year + 1);
        EXPECT_EQ(is_missing(v) ? -1 : std::lround(v * 1000.0f), value) << s.id << " " << year;
      }
    }
    std::string warnings;
    for (const ReadAnomaly& warning : r.warnings) warnings += warning_line(warning) + "\n";
    for (const std::string& warning : f.warnings) {
      EXPECT_TRUE(contains(warnings, " Warning: " + warning)) << warning;
    }
  }
}

}  // namespace
}  // namespace kvr::test
