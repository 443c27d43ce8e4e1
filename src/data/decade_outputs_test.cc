#include "data/decade_outputs.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "data/trrw.h"

namespace kvr {
namespace {

SeriesInfo info(const std::string& id, int first_year, int length, int start_position) {
  SeriesInfo s;
  s.id = id;
  s.first_year = first_year;
  s.length = length;
  s.last_year = first_year + length - 1;
  s.start_position = start_position;
  return s;
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

TEST(DecadeOutputsTest, ModeledChronologyReadsBack) {
  std::ostringstream out;
  const std::vector<float> robust_mean = {1.0f, kMissing, 0.5f, 1.25f};
  const std::vector<int> depth = {2, 0, 1, 3};
  write_modeled_crn(out, "input.rwl", "title", true, robust_mean, depth, 1907);
  const std::string fill = "9990  0";
  const std::string text = out.str();
  EXPECT_EQ(text, pad_right("input.rwl", 60) + "\n" + pad_right("title", 60) + "\n" +
                      "Age aligned Rank Standardized values\n" + "KVRcrn1907" + fill + fill + fill +
                      fill + fill + fill + fill + "1000  2" + fill + " 500  1" + "     \n" +
                      "KVRcrn1910" + "1250  3" + fill + fill + fill + fill + fill + fill + fill +
                      fill + fill + "     \n");

  std::ostringstream calendar;
  write_modeled_crn(calendar, "input.rwl", "title", false, robust_mean, depth, 1907);
  EXPECT_NE(calendar.str().find("\nCalendar aligned Rank Standardized values\n"),
            std::string::npos);

  // The header lines are text records (the title, blank in columns 7-10, is passed over);
  // the chronology comes back with its gap.
  std::istringstream in(text);
  LineReader lines(in);
  TrrwSeries s;
  TrrwText header;
  int counter = 0;
  std::ostringstream console;
  ASSERT_EQ(trrw_read(lines, TrrwMode::kIndexRead, kMaxPositions, &s, &counter, &header, console,
                      nullptr),
            TrrwStatus::kSeries);
  EXPECT_EQ(s.id, "KVRcrn  ");
  EXPECT_EQ(s.first_year, 1907);
  EXPECT_EQ(s.values, robust_mean);
  EXPECT_EQ(s.depths, depth);
  EXPECT_EQ(header.header_lines[1], pad_right("Age aligned Rank Standardized values", 85));
}

}  // namespace
}  // namespace kvr
