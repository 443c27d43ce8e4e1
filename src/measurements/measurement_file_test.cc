#include "measurements/measurement_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "decade_reading.h"
#include "formats/trrw_write.h"

namespace kvr {
namespace {

// The kind of a file is judged from its first bytes: a chronology is refused, a NOAA
// template and a column table are read by their readers, anything else as decade records.
TEST(MeasurementFileTest, EachKindOfFileIsReadByItsReader) {
  // A chronology file as the run writes it (KVRmodeled.crn): three header lines, then the
  // index records.
  TrrwSeries series;
  series.id = "KVRcrn";
  series.first_year = 1903;
  series.count = 5;
  series.values = {1.0f, 0.9f, 1.1f, kMissing, 1.2f};
  series.depths = {3, 3, 2, 0, 1};
  std::ostringstream crn;
  crn << pad_right("oak.rwl", 60) << '\n'
      << pad_right("Age Aligned", 60) << '\n'
      << "Age aligned Rank Standardized values\n";
  trrw_write(crn, WriteMode::kIndex, series, "   ");
  // A table longer than the block its kind is judged from, which must be read whole.
  std::string long_table = "year\tA\tB\n";
  for (int year = 1; year <= 9000; ++year) long_table += std::to_string(year) + "\t1.25\t0.5\n";
  const struct {
    const char* what;
    std::string file;
    FileKind kind;
    int series;  // read; 0: refused
    int last_year;
  } cases[] = {
      {"KVRmodeled.crn", crn.str(), FileKind::kChronology, 0, 0},
      {"index records without header lines",
       "CAM    626 826 15 919 15 982 15 888 15 923 16 999 17 777 17 888 17 912 17 950 17\n"
       "CAM    6301012 18 995 18 999 18 995 18 999 18 995 18 999 18 995 18 999 189990  0\n",
       FileKind::kChronology, 0, 0},
      {"a NOAA template",
       "# Template Version 4.0\n## age_CE\tage\n# Missing_Values: NA\nage_CE\tS1_raw\tS2_raw\n"
       "1902 \tNaN\t-999\t\n1903\t0.551\t0.62\t\n",
       FileKind::kNoaaTemplate, 2, 1903},
      {"a table of tabs after # lines",
       "# a table\n# Missing_Values: NA\nage_CE\tS1_raw\tS2_raw\n1902 \tNaN\t-999\t\n"
       "1903\t0.551\t0.62\t\n",
       FileKind::kColumnTable, 2, 1903},
      {"a table of semicolons", "year;A;B\n1901;12;13\n1902;NA;14,5\n", FileKind::kColumnTable, 2,
       1902},
      {"a table of commas", "year,A\n1901,1.2e-1\n", FileKind::kColumnTable, 1, 1901},
      {"a table beyond the first block", long_table, FileKind::kColumnTable, 2, 9000},
      {"a table refused by its reader", "year,A\n1901,1.2\n1900,1.3\n", FileKind::kColumnTable, 0,
       0},
      {"header lines with commas and tabs",
       "ABC001 1 Site, Country\tPISY\nABC001 2 more, text\nABC001  1901   100   200   999\n",
       FileKind::kMeasurements, 1, 1902},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const MeasurementReading r = test::read_measurements(c.file);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.usable, c.series > 0);
    EXPECT_EQ(r.set.count(), c.series);
    if (c.series > 0) {
      EXPECT_EQ(r.set.latest_last_year, c.last_year);
    } else {
      EXPECT_EQ(r.refusal.kind, c.kind == FileKind::kChronology ? Refusal::Kind::kChronology
                                                                : Refusal::Kind::kTable);
    }
  }
}

// Each series in mm as the file gives it: the integer of each field times the unit of its
// segment, 0 for a zero ring, NaN for whatever is missing.
TEST(MeasurementFileTest, MeasuredSeriesHoldEachFieldTimesItsUnit) {
  const MeasurementReading r = test::read_measurements(
      // 0.01 mm: a zero ring, a missing code, a 999 that ends nothing (no value in 0.01 mm).
      "A       1908   120     0\nA       1910  -999   999   250   999\n"
      // Two segments: 0.001 mm with a 999 of 0.999 mm, then 0.01 mm after four missing years.
      "B       1905   500   999  1250 -9999\nB       1912   300   999\n"
      // No end marker: the units of most other series, 0.01 mm on this tie of two and two.
      "C       1900   777   NaN\nD       1900    42 -9999\n");
  ASSERT_TRUE(r.usable);
  const double nan = kNotAvailable;
  const struct {
    const char* id;
    int first_year;
    std::vector<double> mm;
  } expected[] = {
      {"A", 1908, {120 * 0.01, 0.0, nan, nan, 250 * 0.01}},
      {"B", 1905, {500 * 0.001, 999 * 0.001, 1250 * 0.001, nan, nan, nan, nan, 300 * 0.01}},
      {"C", 1900, {777 * 0.01, nan}},
      {"D", 1900, {42 * 0.001}},
  };
  ASSERT_EQ(r.measured.size(), std::size(expected));
  ASSERT_EQ(r.set.count(), static_cast<int>(std::size(expected)));
  for (std::size_t j = 0; j < r.measured.size(); ++j) {
    const MeasuredSeries& m = r.measured[j];
    SCOPED_TRACE(m.id);
    EXPECT_EQ(m.id, expected[j].id);
    EXPECT_EQ(m.first_year, expected[j].first_year);
    ASSERT_EQ(m.mm.size(), expected[j].mm.size());
    for (std::size_t i = 0; i < m.mm.size(); ++i) {
      if (std::isnan(expected[j].mm[i])) {
        EXPECT_TRUE(std::isnan(m.mm[i])) << i;
      } else {
        EXPECT_EQ(m.mm[i], expected[j].mm[i]) << i;
      }
    }
  }
  // A free-format series: its values as read, widened.
  const MeasurementReading free =
      test::read_measurements(pad_right("FREE0001 a free-format series", 79) +
                              "#\nn        3      1950  (10f8.3)\n" + "   1.234   0.000     2.5\n");
  ASSERT_EQ(free.measured.size(), 1u);
  EXPECT_EQ(free.measured[0].id, "FREE0001");
  EXPECT_EQ(free.measured[0].mm, (std::vector<double>{static_cast<double>(1.234f), 0.0, 2.5}));
  // The value grid as before: single precision, a zero ring 0.001.
  EXPECT_EQ(r.set.values(1, 1), 120.0f * 0.01f);
  EXPECT_EQ(r.set.values(1, 2), 0.001f);
  EXPECT_EQ(r.set.values(2, 2), (999.0f * 0.01f) * 0.1f);
}

}  // namespace
}  // namespace kvr
