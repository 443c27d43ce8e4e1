#include "results/knmi_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/dimensions.h"

namespace kvr {
namespace {

TEST(KnmiTest, WritesTwelveMonthsAndTheClimateExplorerMissingValue) {
  Chronology chronology;
  chronology.sample_depth = {2, 0, 4};
  chronology.robust_mean = {1.25f, kMissing, 0.75f};
  std::ostringstream out;
  write_knmi(out, "ring.rwl", "Calendar aligned: classes of 20 rings, RAC = class 3 (41 to 60)",
             false, chronology, 1850);
  auto row = [](const std::string& year, const std::string& value) {
    std::string line = " " + year;
    for (int month = 0; month < 12; ++month) line += " \t" + value;
    return line + "\n";
  };
  const std::string expected =
      "#ring.rwl" + std::string(52, ' ') + "\n" +
      "#Calendar aligned: classes of 20 rings, RAC = class 3 (41 to \n"
      "#Calendar aligned Rank Standardized values\n" +
      row("        1850", "    1.25000") +
      // No chronology value: -999.9, which the Climate Explorer reads as missing.
      row("        1851", "   -999.900") + row("        1852", "   0.750000");
  EXPECT_EQ(out.str(), expected);

  std::ostringstream age;
  write_knmi(age, "ring.rwl", "Age", true, Chronology(), 1850);
  EXPECT_EQ(age.str(), "#ring.rwl" + std::string(52, ' ') + "\n#Age" + std::string(57, ' ') +
                           "\n#Age aligned Rank Standardized values\n");
}

}  // namespace
}  // namespace kvr
