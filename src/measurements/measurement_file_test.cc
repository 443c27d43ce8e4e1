#include "measurements/measurement_file.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kvr
