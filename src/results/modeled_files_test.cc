#include "results/modeled_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "decade_reading.h"
#include "index_reading.h"

namespace kvr {
namespace {

SeriesInfo info(const std::string& id, int first_year, int length, int start_position) {
  return {.id = id,
          .first_year = first_year,
          .last_year = first_year + length - 1,
          .length = length,
          .start_position = start_position};
}

Chronology chronology_of(const std::vector<float>& robust_mean, const std::vector<int>& depth) {
  Chronology chronology;
  chronology.robust_mean = robust_mean;
  chronology.sample_depth = depth;
  return chronology;
}

// The series of a decade-format text, read as the program reads its input.
std::vector<TrrwSeries> read_back(const std::string& text) {
  return test::read_decade(text).series;
}

// The id of a measurement record in the column variant its minus signs choose, as a reader
// does: 7 characters when column 8 holds '-', 6 when column 7 does, else 8; trailing blanks
// dropped.
std::string record_id(const std::string& line) {
  const std::size_t width = line[7] == '-' ? 7 : line[6] == '-' ? 6 : 8;
  return trim_right(line.substr(0, width));
}

TEST(DecadeOutputsTest, ModeledRaw) {
  MeasurementSet set;
  set.series = {info("AAA00001", 1903, 4, 1), info("BBB00002", 1905, 2, 3),
                info("CCC00003", 1904, 3, 2), info("DDD00004", 1903, 5, 1)};
  set.earliest_first_year = 1903;
  set.latest_last_year = 1907;
  set.time_span = 5;
  Grid<float> by_year(4, 5, kMissing);
  by_year(1, 1) = 1.0f;  // 1903
  by_year(1, 3) = 2.0f;  // the gap in 1904 stays at its year
  by_year(1, 4) = 3.0f;
  by_year(1, 5) = 9.0f;  // outside the series' span: not written
  // Series 2 has no value: nothing is written for it.
  by_year(3, 2) = 0.25f;
  by_year(3, 3) = 0.5f;
  by_year(3, 4) = 0.75f;
  // Missing before the first value and after the last: the series is written from 1904 on.
  by_year(4, 2) = 0.5f;
  by_year(4, 4) = 0.75f;

  std::ostringstream out;
  write_modeled_raw(out, "input.rwl", "Age aligned  Classes: 10", set, by_year);
  EXPECT_EQ(out.str(), pad_right("input.rwl", 60) + "\n" +
                           pad_right("Age aligned  Classes: 10", 60) + "\n" +
                           "Rank Adjusted Standardized values\n"
                           "AAA000011903  1000  -999  2000  3000 -9999\n"
                           "CCC000031904   250   500   750 -9999\n"
                           "DDD000041904   500  -999   750 -9999\n");
}

// A series is written in the one variant its first year needs, so that a reader, choosing
// the variant of each record by its minus signs, finds the same id on every record; years
// from -1000 to -9999 take variant B, earlier ones C.
TEST(DecadeOutputsTest, ModeledRawKeepsOneIdPerSeries) {
  const struct {
    int first_year;
    const char* id;  // as every record shows it
  } cases[] = {{-999, "ABCDEFGH"}, {-1000, "ABCDEFG"}, {-1005, "ABCDEFG"},
               {-9999, "ABCDEFG"}, {-10000, "ABCDEF"}, {-10003, "ABCDEF"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first_year);
    MeasurementSet set;
    set.series = {info("ABCDEFGH", c.first_year, 25, 1)};
    Grid<float> by_year(1, 25, 0.5f);
    std::ostringstream out;
    write_modeled_raw(out, "in.rwl", "title", set, by_year);
    std::istringstream lines(out.str());
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
      if (++number > 3) {  // after the header lines
        EXPECT_EQ(record_id(line), c.id) << line;
      }
    }
    const std::vector<TrrwSeries> read = read_back(out.str());
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].first_year, c.first_year);
    EXPECT_EQ(read[0].values, std::vector<float>(25, 0.5f));
  }
}

// Ids longer than the records hold are cut; ids that differ whole and become one are named,
// each once, with the width of their records (7 from the year -1000 on). A series that is not
// written, and an id that only repeats another, are not.
TEST(DecadeOutputsTest, ModeledRawCutsLongIdsAndNamesThoseThatBecomeOne) {
  MeasurementSet set;
  set.series = {info("PINE_NORTH_01", 1901, 2, 1), info("OAK_SOUTH_1", 1901, 2, 1),
                info("PINE_NORTH_02", 1901, 2, 1), info("PINE_NORTH_03", 1901, 2, 1),
                info("PINE_NOR", 1901, 2, 1),      info("PINE_NORTH_01", 1901, 2, 1),
                info("ABCDEFGH1", -1500, 2, 1),    info("ABCDEFGX", -1200, 2, 1)};
  Grid<float> by_year(8, 2, 0.5f);
  by_year(4, 1) = by_year(4, 2) = kMissing;
  std::ostringstream out;
  const std::vector<SameCutId> same = write_modeled_raw(out, "in.rwl", "title", set, by_year);
  std::vector<std::string> named;
  for (const SameCutId& s : same) {
    std::string text = s.written + "/" + std::to_string(s.width) + ":";
    for (const std::string& id : s.ids) text += " " + id;
    named.push_back(text);
  }
  EXPECT_EQ(named, (std::vector<std::string>{"PINE_NOR/8: PINE_NORTH_01 PINE_NORTH_02 PINE_NOR",
                                             "ABCDEFG/7: ABCDEFGH1 ABCDEFGX"}));
  EXPECT_NE(out.str().find("\nOAK_SOUT1901   500   500 -9999\n"), std::string::npos) << out.str();
}

TEST(DecadeOutputsTest, ModeledChronologyReadsBack) {
  std::ostringstream out;
  const std::vector<float> robust_mean = {1.0f, kMissing, 0.5f, 1.25f};
  const std::vector<int> depth = {2, 0, 1, 3};
  write_modeled_crn(out, "input.rwl", "title", true, chronology_of(robust_mean, depth), 1907);
  const std::string fill = "9990  0";
  const std::string text = out.str();
  EXPECT_EQ(text, pad_right("input.rwl", 60) + "\n" + pad_right("title", 60) + "\n" +
                      "Age aligned Rank Standardized values\n" + "KVRcrn1907" + fill + fill + fill +
                      fill + fill + fill + fill + "1000  2" + fill + " 500  1" + "     \n" +
                      "KVRcrn1910" + "1250  3" + fill + fill + fill + fill + fill + fill + fill +
                      fill + fill + "     \n");

  std::ostringstream calendar;
  write_modeled_crn(calendar, "input.rwl", "title", false, chronology_of(robust_mean, depth), 1907);
  EXPECT_NE(calendar.str().find("\nCalendar aligned Rank Standardized values\n"),
            std::string::npos);

  // The header lines are text records (the title, blank in columns 7-10, is passed over);
  // the chronology comes back with its gap.
  const test::IndexReading read = test::read_index(text);
  ASSERT_FALSE(read.series.empty());
  const TrrwSeries& s = read.series.front();
  EXPECT_EQ(s.id, "KVRcrn  ");
  EXPECT_EQ(s.first_year, 1907);
  EXPECT_EQ(s.values, robust_mean);
  EXPECT_EQ(s.depths, depth);
  ASSERT_EQ(read.text_records.size(), 2u);
  EXPECT_EQ(read.text_records[1], pad_right("Age aligned Rank Standardized values", 80));
}

// One variant for the whole chronology (B from its first year -1003 on, the id cut to
// "KVRcr" on every record), and sample depths above 999 written as 999 and reported.
TEST(DecadeOutputsTest, ModeledChronologyOneVariantAndDepthsItCanHold) {
  const std::vector<float> robust_mean(15, 1.0f);
  std::vector<int> depth(15, 7);
  depth[0] = 1000;
  depth[2] = 1001;
  depth[14] = 999;
  std::ostringstream out;
  const CrnAdjustments adjusted =
      write_modeled_crn(out, "in.rwl", "title", false, chronology_of(robust_mean, depth), -1003);
  EXPECT_EQ(adjusted.capped_depth_years, (std::vector<int>{-1003, -1001}));
  EXPECT_TRUE(adjusted.unwritable_years.empty());
  const std::string text = out.str();
  for (const char* start : {"\nKVRcr-1003", "\nKVRcr-1000", "\nKVRcr -990"}) {
    EXPECT_NE(text.find(start), std::string::npos) << start;
  }
  const std::vector<TrrwSeries> read = test::read_index(text).series;
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].first_year, -1003);
  EXPECT_EQ(read[0].values, robust_mean);
  depth[0] = depth[2] = 999;
  EXPECT_EQ(read[0].depths, depth);
}

}  // namespace
}  // namespace kvr
