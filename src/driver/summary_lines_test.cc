#include "driver/summary_lines.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "common/dimensions.h"
#include "series_spans.h"

namespace kvr {
namespace {

using test::set_of_spans;
using test::Span;

// The summary's lines; *ok is false when the run must end after them.
std::vector<std::string> lines_of(const MeasurementSet& set, bool* ok = nullptr) {
  const DataSummary summary = summarize(set);
  if (ok != nullptr) *ok = summary.kind != DataSummary::Kind::kTooManySeries;
  return summary_lines(summary);
}

std::string block_line(const char* label, const std::string& number) {
  return std::string(label) + number;
}

const std::string kFrame = "  " + std::string(42, '*');

TEST(SummaryLinesTest, BlockOfBuiltSet) {
  const std::vector<std::string> expected = {
      "",
      kFrame,
      "  **  Time span of chronology:  1900 to 2010",
      "  **  Number of series in chronology:      3",
      "  **  Average series length:            64.00",
      "  **  Median series length:             61.00",
      "  **  Minimum series length:            31.00",
      "  **  Maximum series length:           100.00",
      "  **  Optimum common interval:  1950 to 1999",
      "  **  Number of years included:           50",
      "  **  Number of Series included:           2",
      "  **  Number of rings:                   100",
      kFrame,
  };
  bool ok = false;
  EXPECT_EQ(lines_of(set_of_spans({{"A", 1900, 100}, {"B", 1950, 61}, {"C", 1960, 31}}), &ok),
            expected);
  EXPECT_TRUE(ok);
}

// Missing values inside the series: A 1900-1999 lacks 1950, B 1940-1979 its first two years.
// The lengths stay the spans (100, 40, 30). The interval counts a series only where it has a
// value in every year: of A's two stretches 1951-1999 and C 1960-1989 give 30 years x 2 first
// (1960-1979 with B too gives 20 x 3 later); over the spans 1900-1999 x 1 would have won.
TEST(SummaryLinesTest, MissingValuesInsideSeries) {
  MeasurementSet set = set_of_spans({{"A", 1900, 100}, {"B", 1940, 40}, {"C", 1960, 30}});
  set.values.reset(3, 100, 1.0f);
  for (const auto& [j, t] : {std::pair{1, 51}, {2, 1}, {2, 2}}) set.values(j, t) = kMissing;
  const std::vector<std::string> expected = {
      "",
      kFrame,
      "  **  Time span of chronology:  1900 to 1999",
      "  **  Number of series in chronology:      3",
      "  **  Average series length:            56.67",
      "  **  Median series length:             40.00",
      "  **  Minimum series length:            30.00",
      "  **  Maximum series length:           100.00",
      "  **  Missing values within series:        3",
      "  **  Optimum common interval:  1960 to 1989",
      "  **  Number of years included:           30",
      "  **  Number of Series included:           2",
      "  **  Number of rings:                    60",
      kFrame,
  };
  EXPECT_EQ(lines_of(set), expected);
}

TEST(SummaryLinesTest, LengthStatistics) {
  struct Case {
    const char* name;
    std::vector<Span> spans;
    const char* average;
    const char* median;
    const char* minimum;
    const char* maximum;
  };
  const std::vector<Case> cases = {
      {"single", {{"A", 1850, 120}}, " 120.00", " 120.00", " 120.00", " 120.00"},
      {"even count",
       {{"A", 1900, 100}, {"B", 1900, 201}},
       " 150.50",
       " 150.50",
       " 100.00",
       " 201.00"},
      {"odd count",
       {{"A", 1900, 7}, {"B", 1900, 2}, {"C", 1900, 30}},
       "  13.00",
       "   7.00",
       "   2.00",
       "  30.00"},
      {"too wide", {{"A", 1, 10001}}, "*******", "*******", "*******", "*******"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> lines = lines_of(set_of_spans(c.spans));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[4], block_line("  **  Average series length:          ", c.average));
    EXPECT_EQ(lines[5], block_line("  **  Median series length:           ", c.median));
    EXPECT_EQ(lines[6], block_line("  **  Minimum series length:          ", c.minimum));
    EXPECT_EQ(lines[7], block_line("  **  Maximum series length:          ", c.maximum));
  }
}

TEST(SummaryLinesTest, RingsTooWideShowAsterisks) {
  std::vector<Span> spans(1001, Span{"S", 1, 10001});
  const std::vector<std::string> lines = lines_of(set_of_spans(spans));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[8], "  **  Optimum common interval:     1 to10001");
  EXPECT_EQ(lines[9], "  **  Number of years included:        10001");
  EXPECT_EQ(lines[10], "  **  Number of Series included:        1001");
  EXPECT_EQ(lines[11], "  **  Number of rings:               *******");
}

TEST(SummaryLinesTest, TimeSpanTakesEveryYearThatFits) {
  const std::vector<std::string> lines = lines_of(set_of_spans({{"A", 40000, 10}}));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[2], "  **  Time span of chronology: 40000 to40009");
}

TEST(SummaryLinesTest, EmptySetPrintsCountOnly) {
  bool ok = false;
  const std::vector<std::string> expected = {
      "", kFrame, "  **  Number of series in chronology:      0", kFrame};
  EXPECT_EQ(lines_of(MeasurementSet(), &ok), expected);
  EXPECT_TRUE(ok);
}

TEST(SummaryLinesTest, LimitMessageShowsTheRealLimit) {
  bool ok = true;
  const std::vector<Span> spans(static_cast<std::size_t>(kSummaryMaxSeries) + 1,
                                Span{"S", 1900, 10});
  const std::vector<std::string> expected = {
      " >> file contains more than program limit of 15000 series",
      " too many series for subroutine Commint"};
  EXPECT_EQ(lines_of(set_of_spans(spans), &ok), expected);
  EXPECT_FALSE(ok);
}

TEST(SummaryLinesTest, YearsThatDoNotFitStopBeforeTheBlock) {
  struct Case {
    const char* name;
    std::vector<Span> spans;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      // The first record in order already fails.
      {"first record",
       {{"OLD", -10000, 5}},
       {" -999619000    5*****    1  OLD          ", " error reading sqc)"}},
      {"later record",
       {{"NEW", 1900, 100}, {"OLD", -10005, 3}},
       {" *****19005    3*****    2  OLD          ", " error reading sqc)"}},
      {"last year too late",
       {{"A", 1900, 100}, {"FAR", 99998, 5}},
       {" **********    599998    2  FAR          ", " error reading sqc)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool ok = false;
    EXPECT_EQ(lines_of(set_of_spans(c.spans), &ok), c.expected);
    EXPECT_TRUE(ok);
  }
}

}  // namespace
}  // namespace kvr
