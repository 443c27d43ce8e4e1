#include "measurements/summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
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

std::vector<SqcEntry> sorted_entries(const MeasurementSet& set) {
  std::vector<SqcEntry> entries;
  for (const SeriesInfo& s : set.series) {
    entries.push_back({s.first_year + s.length - 1, s.first_year, s.length, s.id});
  }
  sort_sqc(&entries);
  return entries;
}

// The common interval of entries in the order of sort_sqc, each entry a series measured
// throughout its years: best_interval over their spans.
CommonInterval commint(std::span<const SqcEntry> sorted) {
  std::vector<YearStretch> stretches;
  stretches.reserve(sorted.size());
  for (const SqcEntry& e : sorted) stretches.push_back({e.first_year, e.last_year});
  return best_interval(stretches);
}

// The candidate scan as the interval search is defined, cubic in the series count: every
// distinct last year in record order, every record's first year, and a count over all
// records for each candidate.
CommonInterval reference_commint(const std::vector<SqcEntry>& sorted) {
  std::vector<int> last_years;
  for (const SqcEntry& e : sorted) {
    if (last_years.empty() || e.last_year != last_years.back()) last_years.push_back(e.last_year);
  }
  CommonInterval best;
  for (int end : last_years) {
    for (const SqcEntry& m : sorted) {
      const int start = m.first_year;
      const int years = end - start + 1;
      int covered = 0;
      for (const SqcEntry& k : sorted) {
        if (k.first_year <= start && k.last_year >= end) ++covered;
      }
      if (static_cast<long long>(years) * covered > best.rings) {
        best = {start, end, years, covered, static_cast<long long>(years) * covered};
      }
    }
  }
  return best;
}

// The record order by plain character comparison, greatest first, by selection sort.
std::vector<std::string> character_order(std::vector<std::string> records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::size_t greatest = i;
    for (std::size_t k = i + 1; k < records.size(); ++k) {
      if (records[k] > records[greatest]) greatest = k;
    }
    std::swap(records[i], records[greatest]);
  }
  return records;
}

std::string block_line(const char* label, const std::string& number) {
  return std::string(label) + number;
}

const std::string kFrame = "  " + std::string(42, '*');

TEST(SummaryTest, WorkedIntervals) {
  struct Case {
    const char* name;
    std::vector<Span> spans;
    CommonInterval expected;
  };
  const std::vector<Case> cases = {
      // 100 years x 1 series (1900-1999) reaches the same product later and loses.
      {"three series",
       {{"A", 1900, 100}, {"B", 1950, 61}, {"C", 1960, 31}},
       {1950, 1999, 50, 2, 100}},
      {"single series", {{"A", 1850, 120}}, {1850, 1969, 120, 1, 120}},
      // No overlap: the longest series; of the two longest the one that ends latest.
      {"disjoint", {{"A", 1800, 50}, {"B", 1900, 30}, {"C", 1950, 50}}, {1950, 1999, 50, 1, 50}},
      // Equal products under one last year: 1900-1999 x 1 comes before 1950-1999 x 2.
      {"tie within one end", {{"B", 1950, 50}, {"A", 1900, 100}}, {1900, 1999, 100, 1, 100}},
      // Equal products under different last years: the latest last year comes first.
      {"tie across ends", {{"A", 1900, 50}, {"B", 1960, 50}}, {1960, 2009, 50, 1, 50}},
      // -120 to -21 x 1 series reaches 100 too, but under a later last year.
      {"negative years",
       {{"A", -120, 100}, {"B", -60, 100}, {"C", -30, 40}},
       {-60, 39, 100, 1, 100}},
      {"crossing year 0", {{"A", -50, 101}, {"B", -10, 30}}, {-50, 50, 101, 1, 101}},
      {"no rings", {{"A", 1900, 0}}, {0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommonInterval got = commint(sorted_entries(set_of_spans(c.spans)));
    EXPECT_EQ(got.start, c.expected.start);
    EXPECT_EQ(got.end, c.expected.end);
    EXPECT_EQ(got.years, c.expected.years);
    EXPECT_EQ(got.series, c.expected.series);
    EXPECT_EQ(got.rings, c.expected.rings);
  }
}

TEST(SummaryTest, BlockOfBuiltSet) {
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
TEST(SummaryTest, MissingValuesInsideSeries) {
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

TEST(SummaryTest, LengthStatistics) {
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

TEST(SummaryTest, RingsTooWideShowAsterisks) {
  std::vector<Span> spans(1001, Span{"S", 1, 10001});
  const std::vector<std::string> lines = lines_of(set_of_spans(spans));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[8], "  **  Optimum common interval:     1 to10001");
  EXPECT_EQ(lines[9], "  **  Number of years included:        10001");
  EXPECT_EQ(lines[10], "  **  Number of Series included:        1001");
  EXPECT_EQ(lines[11], "  **  Number of rings:               *******");
}

TEST(SummaryTest, TimeSpanTakesEveryYearThatFits) {
  const std::vector<std::string> lines = lines_of(set_of_spans({{"A", 40000, 10}}));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[2], "  **  Time span of chronology: 40000 to40009");
}

TEST(SummaryTest, EmptySetPrintsCountOnly) {
  bool ok = false;
  const std::vector<std::string> expected = {
      "", kFrame, "  **  Number of series in chronology:      0", kFrame};
  EXPECT_EQ(lines_of(MeasurementSet(), &ok), expected);
  EXPECT_TRUE(ok);
}

TEST(SummaryTest, LimitMessageShowsTheRealLimit) {
  bool ok = true;
  const std::vector<Span> spans(static_cast<std::size_t>(kSummaryMaxSeries) + 1,
                                Span{"S", 1900, 10});
  const std::vector<std::string> expected = {
      " >> file contains more than program limit of 15000 series",
      " too many series for subroutine Commint"};
  EXPECT_EQ(lines_of(set_of_spans(spans), &ok), expected);
  EXPECT_FALSE(ok);
}

TEST(SummaryTest, YearsThatDoNotFitStopBeforeTheBlock) {
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

TEST(SummaryTest, SqcRecordLayout) {
  EXPECT_EQ(sqc_record({1999, 1900, 100, "ABC"}, 3), " 1999 7100  100 1900    3  ABC          ");
  EXPECT_EQ(sqc_record({-21, -60, 40, "LONGID12"}, 1001),
            "  -21 9060   40  -60 1001  LONGID12     ");
}

// For last years of 0 and above and first years up to 9000 the numeric order is the
// descending character order of the records.
TEST(SummaryTest, OrderMatchesCharacterOrderOfRecords) {
  std::mt19937 random(7);
  const std::vector<std::string> ids = {"A", "B", "AB", "a", "Z9", "QQQQQQQQ", "Q"};
  for (int round = 0; round < 200; ++round) {
    const int n = 1 + static_cast<int>(random() % 25);
    std::vector<SqcEntry> entries;
    std::vector<std::string> records;
    for (int k = 0; k < n; ++k) {
      const int first = static_cast<int>(random() % 40) * 25;  // 0..975, many equal
      const int length = 1 + static_cast<int>(random() % 6) * 25;
      entries.push_back({first + length - 1, first, length, pad_right(ids[random() % 7], 8)});
    }
    for (const SqcEntry& e : entries) records.push_back(sqc_record(e, n));
    sort_sqc(&entries);
    std::vector<std::string> got;
    for (const SqcEntry& e : entries) got.push_back(sqc_record(e, n));
    ASSERT_EQ(got, character_order(records)) << "round " << round;
  }
}

TEST(SummaryTest, NegativeYearsOrderNumerically) {
  std::vector<SqcEntry> entries = {
      {-5, -100, 96, "A"}, {-50, -100, 51, "B"}, {-5, -9, 5, "C"}, {10, -9, 20, "D"}};
  sort_sqc(&entries);
  std::vector<std::string> ids;
  for (const SqcEntry& e : entries) ids.push_back(e.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"D", "A", "C", "B"}));
}

TEST(SummaryTest, FastSearchMatchesCandidateScan) {
  std::mt19937 random(2024);
  for (int round = 0; round < 3000; ++round) {
    const int n = 1 + static_cast<int>(random() % 40);
    // Narrow ranges of years and few lengths make equal products common.
    const int base =
        static_cast<int>(random() % 3) == 0 ? -60 : -20 + static_cast<int>(random() % 40);
    const int steps = 1 + static_cast<int>(random() % 12);
    std::vector<SqcEntry> entries;
    for (int k = 0; k < n; ++k) {
      const int first = base + static_cast<int>(random() % static_cast<unsigned>(steps)) * 5;
      const int length = static_cast<int>(random() % 8) * 5;  // 0 too: empty spans
      entries.push_back({first + length - 1, first, length, "S"});
    }
    sort_sqc(&entries);
    const CommonInterval fast = commint(entries);
    const CommonInterval slow = reference_commint(entries);
    ASSERT_EQ(fast.start, slow.start) << "round " << round;
    ASSERT_EQ(fast.end, slow.end) << "round " << round;
    ASSERT_EQ(fast.years, slow.years) << "round " << round;
    ASSERT_EQ(fast.series, slow.series) << "round " << round;
    ASSERT_EQ(fast.rings, slow.rings) << "round " << round;
  }
}

}  // namespace
}  // namespace kvr
