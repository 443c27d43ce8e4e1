// Whole analyses, in process, of a small NOAA template and a small column table: the title of
// the data on the screen and in the result files' `#` lines, ids longer than a decade record
// holds, and a table that its reader refuses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answers.h"
#include "driver/run.h"
#include "in_process_run.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

const std::vector<std::string> kIds = {"PINE_NORTH_01", "PINE_NORTH_02", "OAK1"};

// 40 rows from 1901 of the series `kIds`, tab separated; the first series starts in 1903.
std::string rows(char separator) {
  std::string text;
  for (int year = 1901; year <= 1940; ++year) {
    text += std::to_string(year);
    for (int k = 0; k < 3; ++k) {
      const int hundredths = 50 + (year * 37 + k * 11) % 150;
      text += separator;
      text += k == 0 && year < 1903 ? "NA" : std::to_string(hundredths / 100.0).substr(0, 4);
    }
    text += '\n';
  }
  return text;
}

std::string noaa_template() {
  return "# Example - Ridge - PCAB\n# Template Version 4.0\n"
         "#   Study_Name: Ridge study\n#   Site_Name: Ridge\n#   Location: Alps\n"
         "#   Northernmost_Latitude: 46.5\n#   Southernmost_Latitude: 46.5\n"
         "#   Easternmost_Longitude: 7.5\n#   Westernmost_Longitude: 7.5\n#   Elevation_m: 1800\n"
         "#   Investigators: Example, A.\n#   Time_Unit: CE\n"
         "#   Species_Name: Picea abies\n#   Common_Name: Norway spruce\n"
         "#   Tree_Species_Code: PCAB\n"
         "## age_CE\tage,,,year Common Era,,tree ring,,,N,\n"
         "## PINE_NORTH_01_raw\ttotal ring width,,,millimeter,,tree ring,,,N,\n"
         "## PINE_NORTH_02_raw\ttotal ring width,,,millimeter,,tree ring,,,N,\n"
         "## OAK1_raw\ttotal ring width,,,millimeter,,tree ring,,,N,\n"
         "# Missing_Values: NA\n"
         "age_CE\tPINE_NORTH_01_raw\tPINE_NORTH_02_raw\tOAK1_raw\n" +
         rows('\t');
}

const std::vector<std::string> kSourceLines = {
    "Study: Ridge study",
    "Site: Ridge, Alps; latitude 46.5, longitude 7.5, elevation 1800 m",
    "Species: Picea abies (Norway spruce), PCAB",
    "Investigators: Example, A.",
    "Variable: total ring width (millimeter)",
};

std::string joined(const std::vector<std::string>& lines, const std::string& before) {
  std::string text;
  for (const std::string& line : lines) text += before + line + "\n";
  return text;
}

TEST(TableRunTest, TemplateAndColumnTableRunToTheEnd) {
  const struct {
    const char* name;
    std::string text;
    std::vector<std::string> source_lines;  // of the title and the `#` lines
  } cases[] = {
      {"ridge.txt", noaa_template(), kSourceLines},
      {"ridge.csv", "\"year\",\"PINE_NORTH_01\",\"PINE_NORTH_02\",\"OAK1\"\n" + rows(','), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const InProcessRun run = run_in_process(plain_answers(c.name, 1, 10, 1).text(), c.name, c.text);
    ASSERT_EQ(run.status, kExitNormal) << run.screen;
    // The title of the data after the file's prompt, as a decade file's header lines.
    const std::string title =
        c.source_lines.empty() ? "" : "\n title of data:\n" + joined(c.source_lines, " ");
    EXPECT_TRUE(contains(run.screen, " Enter input file name :> " + title +
                                         "\n  ******************************************\n"))
        << run.screen;
    EXPECT_TRUE(contains(run.screen, "Number of series in chronology:      3"));
    // Ids are whole on the screen and in the tables; KVRmodeled.raw holds 8 characters.
    EXPECT_TRUE(contains(run.file(std::string(c.name) + "_KVR.txt"),
                         "\t+2(se)\t-2(se)\tPINE_NORTH_01\tPINE_NORTH_02\tOAK1    \n"));
    EXPECT_TRUE(contains(run.file("KVRmodeled.raw"), "\nPINE_NOR1903"));
    EXPECT_TRUE(contains_line(run.screen,
                              " Warning: the ids \"PINE_NORTH_01\" and \"PINE_NORTH_02\" are both "
                              "written as \"PINE_NOR\" in KVRmodeled.raw, whose records hold 8 "
                              "characters of an id."));
    // The source lines between the input name and the run title of the `#`-line files.
    for (const char* file : {"KVRsignal.txt", "KVRsss.txt", "KVRseries.txt", "KVRsegments.txt",
                             "KVRcurve.txt", "KVRrcs.txt"}) {
      EXPECT_EQ(run.file(file).rfind("# input file: " + std::string(c.name) + "\n" +
                                         joined(c.source_lines, "# ") + "# run title: ",
                                     0),
                0u)
          << file << "\n"
          << run.file(file);
    }
  }
}

TEST(TableRunTest, ARefusedTableEndsTheRunWithItsLine) {
  const InProcessRun run = run_in_process(plain_answers("rows.csv", 1, 10, 1).text(), "rows.csv",
                                          "year,A,B\n1901,1.2,1.3\n1903,1.2,1.3\n1902,1.2,1.3\n");
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_TRUE(contains(run.screen,
                       " Enter input file name :> \n Line 4 goes back to the year 1902 after the "
                       "year 1903 of line 3; the rows must follow the years in order. Program "
                       "terminating.\n"))
      << run.screen;
  EXPECT_FALSE(run.has_file("KVRmodeled.raw"));
}

}  // namespace
}  // namespace kvr::test
