#include "formats/noaa_template.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "text_helpers.h"

namespace kvr {
namespace {

using test::replace_all;

// A small template in the archive's form, with the habits of real files: a blank instead of a
// tab after a variable's name, a unit with its class, a citation run onto a line without its
// '#', NaN declared but NA written, a -999 code, blanks after a year, a tab after every line.
const char* const kTemplate =
    "# Smith - Example Ridge - PCAB - ITRDB XMP001\n"
    "#----------------\n"
    "# Template Version 3.0\n"
    "#   Study_Name: Smith - Example Ridge - PCAB - ITRDB XMP001\n"
    "# Investigators: Smith, A.; Jones, B.\n"
    "# Authors: Smith, A., \n"
    "Jones, B.\n"
    "# Site Information\n"
    "#   Site_Name:  Example Ridge\n"
    "#   Location: Nowhere\n"
    "#   Northernmost_Latitude: 46.2\n"
    "#   Southernmost_Latitude: 46.1\n"
    "#   Easternmost_Longitude: 7.2\n"
    "#   Westernmost_Longitude: 7.1\n"
    "# Elevation: 1250\n"
    "#   Elevation_m: 1300\n"
    "#   Time_Unit: AD\n"
    "#   Species_Name: Picea abies\n"
    "#   Common_Name: None\n"
    "#   Tree_Species_Code: PCAB\n"
    "## age_CE age,,,year Common Era,,tree ring,,,N,\n"
    "## A01_raw\ttotal ring width ,,,length unit>millimeter,,tree ring,,,N,Tree ID: A01\n"
    "## A02_raw\ttotal ring width,,,millimeter,,tree ring,,,N,\n"
    "# Missing_Values: NaN\n"
    "age_CE\tA01_raw\tA02_raw\t\n"
    "1901 \tNA\t0.545\t\n"
    "1902\t3.38\t0\t\n"
    "1903\t3.4\t-999\t\n"
    "1904\tNaN\t1.2\t\n"
    "1905\t2.01\t\t\n";

NoaaReading read_text(const std::string& text) {
  std::istringstream in(text);
  return read_noaa_template(in);
}

TEST(NoaaTemplateTest, ReadsTheMetadataVariablesAndSeries) {
  const NoaaReading r = read_text(replace_all(kTemplate, "\n", "\r\n"));
  ASSERT_FALSE(r.table.refused()) << describe(r.table.refusal);
  const NoaaMetadata& m = r.metadata;
  // Elevation: the first of its two names; Common_Name: None is no value.
  EXPECT_EQ(m.study_name + "|" + m.site_name + "|" + m.location + "|" + m.northernmost_latitude +
                "|" + m.southernmost_latitude + "|" + m.easternmost_longitude + "|" +
                m.westernmost_longitude + "|" + m.elevation + "|" + m.species_name + "|" +
                m.common_name + "|" + m.species_code + "|" + m.investigators + "|" + m.time_unit +
                "|" + m.missing_values,
            "Smith - Example Ridge - PCAB - ITRDB XMP001|Example Ridge|Nowhere|46.2|46.1|7.2|7.1|"
            "1250|Picea abies||PCAB|Smith, A.; Jones, B.|AD|NaN");
  EXPECT_EQ(m.time_unit_line, 17);
  ASSERT_EQ(r.variables.size(), 3u);
  const NoaaVariable& a01 = r.variables[1];
  EXPECT_EQ(a01.name + "|" + a01.what + "|" + a01.unit, "A01_raw|total ring width|millimeter");
  EXPECT_EQ(a01.line_number, 22);
  EXPECT_EQ(r.variables[0].name, "age_CE");

  // A01: 0.01 mm from 1902 (3.38 and 3.4), 1904 missing; A02: 0.001 mm (0.545), 0 a ring
  // of 0, the code missing.
  ASSERT_EQ(r.table.series.size(), 2u);
  const TableSeries& s1 = r.table.series[0];
  EXPECT_EQ(s1.id, "A01");
  EXPECT_EQ(s1.first_year, 1902);
  EXPECT_EQ(s1.first_line, 27);
  EXPECT_EQ(s1.units_per_mm, 100);
  EXPECT_EQ(s1.counts, (std::vector<std::int32_t>{338, 340, kMissingCount, 201}));
  const TableSeries& s2 = r.table.series[1];
  EXPECT_EQ(s2.id, "A02");
  EXPECT_EQ(s2.first_year, 1901);
  EXPECT_EQ(s2.units_per_mm, 1000);
  EXPECT_EQ(s2.counts, (std::vector<std::int32_t>{545, 0, kMissingCount, 1200}));

  std::vector<std::string> warnings;
  for (const TableWarning& w : r.table.warnings) warnings.push_back(describe(w));
  EXPECT_EQ(warnings,
            (std::vector<std::string>{
                " Warning: line 7: a header line without its '#' (\"Jones, B.\"); passed over",
                " Warning: line 28, series \"A02\": missing-value code -999 in 1 value from year "
                "1903, read as missing"}));
}

TEST(NoaaTemplateTest, OtherUnitsAreReadAsTheyAreWithAWarning) {
  const NoaaReading r = read_text(
      replace_all(replace_all(kTemplate, "length unit>millimeter", "gram per cubic centimeter"),
                  "total ring width,,,millimeter", "latewood density,,,gram per cubic centimeter"));
  ASSERT_FALSE(r.table.refused());
  ASSERT_EQ(r.table.warnings.size(), 4u);
  EXPECT_EQ(describe(r.table.warnings[1]),
            " Warning: line 22, series \"A01\": the values of 1 series from this one are total "
            "ring width in gram per cubic centimeter, not ring widths in mm; read as they are");
  EXPECT_EQ(r.table.warnings[2].kind, TableWarningKind::kNotMillimeters);
  EXPECT_EQ(r.table.warnings[2].id, "A02");
  EXPECT_EQ(r.table.series[1].counts[0], 545);
}

TEST(NoaaTemplateTest, RefusesWhatItCannotRead) {
  std::string many_series = "age_CE";
  for (int k = 0; k <= kMaxSeries; ++k) many_series += "\tS" + std::to_string(k);
  std::string stray_lines;
  for (int k = 0; k <= kMaxStrayLines; ++k) stray_lines += "not a comment\n";
  const struct {
    std::string text;
    TableRefusalKind kind;
    int line;
  } cases[] = {
      {replace_all(kTemplate, "Time_Unit: AD", "Time_Unit: BP"), TableRefusalKind::kNotCommonEra,
       17},
      {replace_all(kTemplate, "age_CE", "age_BP"), TableRefusalKind::kNotCommonEra, 25},
      {replace_all(kTemplate, "age_CE\tA01", "# age_CE\tA01"), TableRefusalKind::kNoHeader, 30},
      {"# Template Version 3.0\n" + stray_lines + "age_CE\tA\n1900\t1\n",
       TableRefusalKind::kStrayLines, 27},
      {replace_all(kTemplate, "1903\t", "1900\t"), TableRefusalKind::kYearBack, 28},
      {replace_all(kTemplate, "1903\t", "1902\t"), TableRefusalKind::kRepeatedYear, 28},
      {replace_all(kTemplate, "1904\tNaN\t1.2\t", "1904\tNaN"), TableRefusalKind::kTooFewCells, 29},
      {replace_all(kTemplate, "1904\tNaN\t1.2", "1904\tNaN\t1.2\t7"),
       TableRefusalKind::kTooManyCells, 29},
      {replace_all(kTemplate, "1905", "19O5"), TableRefusalKind::kYearNotNumber, 30},
      {replace_all(kTemplate, "1905", "11903"), TableRefusalKind::kSpanTooLong, 30},
      {"# Template Version 3.0\nage_CE\t\n1900\t\n", TableRefusalKind::kNoSeriesColumn, 2},
      {"# Template Version 3.0\nage_CE\tA\t\tB\n", TableRefusalKind::kUnnamedColumn, 2},
      {"# Template Version 3.0\n" + many_series + "\n", TableRefusalKind::kTooManySeries, 2},
      {"# Template Version 3.0\nage_CE\tA\n1900\tNA\n1901\t-999\n", TableRefusalKind::kNoValues, 0},
  };
  for (const auto& c : cases) {
    const NoaaReading r = read_text(c.text);
    EXPECT_EQ(r.table.refusal.kind, c.kind) << c.text.substr(0, 200);
    EXPECT_EQ(r.table.refusal.line_number, c.line) << describe(r.table.refusal);
    EXPECT_TRUE(r.table.series.empty());
    EXPECT_FALSE(describe(r.table.refusal).empty());
  }
}

TEST(NoaaTemplateTest, IsRecognisedByItsFirstLines) {
  const std::string text = kTemplate;
  EXPECT_TRUE(looks_like_noaa_template(text, true));
  EXPECT_TRUE(looks_like_noaa_template(text.substr(0, 100), false));
  EXPECT_TRUE(looks_like_noaa_template("\xEF\xBB\xBF# title\n## age_CE\tage\n", true));
  EXPECT_FALSE(looks_like_noaa_template("# a table\nyear,A\n1901,1.2\n", true));
  EXPECT_FALSE(looks_like_noaa_template("XMP01A  1901   123   999\n", true));
  EXPECT_FALSE(looks_like_noaa_template("", true));
  EXPECT_FALSE(looks_like_noaa_template("#\n#", true));
}

}  // namespace
}  // namespace kvr
