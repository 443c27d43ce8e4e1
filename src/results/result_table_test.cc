#include "results/result_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/dimensions.h"

namespace kvr {
namespace {

constexpr float M = kMissing;

// Two series over 1850..1852: a year with values but fewer than four, an empty year, and a
// year with a standard error.
struct SmallRun {
  MeasurementSet set;
  Grid<float> by_year{2, 3, M};
  Chronology chronology;

  SmallRun() {
    set.series.push_back({"AB01", 1850, 1852, 3, 1});
    set.series.push_back({"XY-0002 ", 1850, 1850, 1, 1});
    set.earliest_first_year = 1850;
    set.latest_last_year = 1852;
    set.time_span = 3;
    by_year(1, 1) = 0.0625f;
    by_year(1, 3) = 1234.5f;
    by_year(2, 1) = -0.5f;
    chronology.sample_depth = {2, 0, 4};
    chronology.robust_mean = {1.25f, M, 0.75f};
    chronology.standard_error = {M, M, 0.125f};
    chronology.average = 1.0f;
  }
};

const std::string kLongTitle = "Calendar aligned: classes of 20 rings, RAC = class 3 (41 to 60)";

TEST(ResultTableTest, WritesHeaderAndRows) {
  const SmallRun run;
  std::ostringstream out;
  write_result_table(out, run.set, run.by_year, run.chronology, false, kLongTitle);
  const std::string expected =
      "#Calendar aligned Rank Standardized values\n"
      "#Calendar aligned: classes of 20 rings, RAC = class\n"
      " #yr\tSD\tAve\tRobM\t+2(se)\t-2(se)\tAB01    \tXY-0002 \n"
      // year, SD, Ave, RobM, +2(se), -2(se), AB01, XY-0002
      " "
      "        1850"
      "           2"
      "    1.00000"
      "    1.25000"
      "   -99.9900"
      "   -99.9900"
      "   6.250000E-02"
      "  -0.500000\n"
      " "
      "        1851"
      "           0"
      "    1.00000"
      "   -99.9900"
      "   -99.9900"
      "   -99.9900"
      "   -99.9900"
      "   -99.9900\n"
      " "
      "        1852"
      "           4"
      "    1.00000"
      "   0.750000"
      "    1.00000"
      "   0.500000"
      "    1234.50"
      "   -99.9900\n";
  EXPECT_EQ(out.str(), expected);
}

TEST(ResultTableTest, AgeAlignedHeaderPadsAShortTitle) {
  SmallRun run;
  run.set.series.clear();
  run.chronology = Chronology();
  run.chronology.average = M;
  std::ostringstream out;
  write_result_table(out, run.set, run.by_year, run.chronology, true, "Age aligned");
  EXPECT_EQ(out.str(),
            "#Age aligned Rank Standardized values\n"
            "#Age aligned" +
                std::string(39, ' ') +
                "\n"
                " #yr\tSD\tAve\tRobM\t+2(se)\t-2(se)\n");
}

}  // namespace
}  // namespace kvr
