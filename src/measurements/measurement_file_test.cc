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

TEST(MeasurementFileTest, FilesOfAnotherKindAreRefusedWithTheReason) {
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
  const Refusal::Kind chronology = Refusal::Kind::kChronology;
  const Refusal::Kind table = Refusal::Kind::kColumnTable;
  const struct {
    const char* what;
    std::string file;
    Refusal::Kind refusal;
  } cases[] = {
      {"KVRmodeled.crn", crn.str(), chronology},
      {"index records without header lines",
       "CAM    626 826 15 919 15 982 15 888 15 923 16 999 17 777 17 888 17 912 17 950 17\n"
       "CAM    6301012 18 995 18 999 18 995 18 999 18 995 18 999 18 995 18 999 189990  0\n",
       chronology},
      {"a table of tabs after # lines",
       "# a template\n# Missing_Values: NA\nage_CE\tS1_raw\tS2_raw\n1902 \tNaN\t-999\t\n"
       "1903\t0.551\t0.62\t\n",
       table},
      {"a table of semicolons", "year;A;B\n1901;12;13\n1902;NA;14.5\n", table},
      {"a table of commas", "year,A\n1901,1.2e-1\n", table},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const MeasurementReading r = test::read_measurements(c.file);
    EXPECT_FALSE(r.usable);
    EXPECT_EQ(r.refusal.kind, c.refusal);
    EXPECT_TRUE(r.text.empty());
    EXPECT_TRUE(r.warnings.empty());
  }
  // Header lines with commas and tabs do not make a table.
  const MeasurementReading measurements = test::read_measurements(
      "ABC001 1 Site, Country\tPISY\nABC001 2 more, text\nABC001  1901   100   200   999\n");
  EXPECT_TRUE(measurements.usable) << static_cast<int>(measurements.refusal.kind);
}

}  // namespace
}  // namespace kvr
