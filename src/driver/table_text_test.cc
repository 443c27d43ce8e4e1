#include "driver/table_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvr {
namespace {

NoaaVariable variable(const std::string& name, const std::string& what, const std::string& unit) {
  return {name, what, unit, 0};
}

// Bounds that differ give a range; the year column and a repeated variable are not named; an
// empty part leaves no separator behind; a control character cannot reach the terminal.
TEST(TableTextTest, SourceLinesOfATemplate) {
  MeasurementReading reading;
  reading.kind = FileKind::kNoaaTemplate;
  NoaaMetadata& m = reading.metadata;
  m.study_name = "Ridge\x1b[2J study";
  m.location = "Alps";
  m.southernmost_latitude = "46.1";
  m.northernmost_latitude = "46.4";
  m.easternmost_longitude = "7.5";
  m.elevation = "1800";
  m.species_code = "PCAB";
  reading.variables = {variable("age_CE", "age", "year Common Era"),
                       variable("A_raw", "total ring width", "millimeter"),
                       variable("B_raw", "total ring width", "millimeter"),
                       variable("C_raw", "latewood density", "")};
  EXPECT_EQ(source_lines(reading),
            (std::vector<std::string>{
                "Study: Ridge?[2J study",
                "Site: Alps; latitude 46.1 to 46.4, longitude 7.5, elevation 1800 m",
                "Species: PCAB",
                "Variables: total ring width (millimeter); latewood density",
            }));
  EXPECT_EQ(source_echo({"Study: S", "Species: PCAB"}),
            "\n title of data:\n Study: S\n Species: PCAB\n");
  EXPECT_EQ(source_echo({}), "");

  // Only a template has them.
  reading.kind = FileKind::kColumnTable;
  EXPECT_TRUE(source_lines(reading).empty());
}

}  // namespace
}  // namespace kvr
