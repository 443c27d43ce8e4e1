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

TEST(SummaryTest, SqcRecordLayout) {
  EXPECT_EQ(sqc_record({1999, 1900, 100, "ABC"}, 3), " 1999 7100  100 1900    3  ABC          ");
  EXPECT_EQ(sqc_record({-21, -60, 40, "LONGID12"}, 1001),
            "  -21 9060   40  -60 1001  LONGID12     ");
  // A table's longer id stays whole.
  EXPECT_EQ(sqc_record({1999, 1900, 100, "PINE_NORTH_01"}, 3),
            " 1999 7100  100 1900    3  PINE_NORTH_01     ");
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
