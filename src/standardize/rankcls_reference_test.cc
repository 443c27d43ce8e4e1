#include "rankcls_reference.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "standardize/rankcls.h"
#include "text_helpers.h"

namespace kvr {
namespace {

// One random case: a small grid with ties, missing cells and (sometimes) values outside the
// series' spans, and a contiguous class layout whose last classes may lie beyond the grid.
struct RandomCase {
  Grid<float> values;
  MeasurementSet set;
  AgeClassTable table;
  bool age_aligned = true;
};

RandomCase make_case(std::mt19937& rng) {
  auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  RandomCase c;
  const int rows = uniform(1, 6);
  const int cols = uniform(1, 14);
  c.age_aligned = uniform(0, 1) == 1;
  c.values.reset(rows, cols, kMissing);
  // Few distinct values, so that ties are common; -0 and +0 compare equal.
  static constexpr float kPool[] = {1.0f, 2.0f, 2.5f, 0.0f, -0.0f, 0.001f, 7.25f, 1e30f, -5.0f};
  const bool strays = uniform(0, 4) == 0;
  for (int i = 1; i <= rows; ++i) {
    SeriesInfo info;
    info.length = uniform(1, cols);
    info.start_position = uniform(1, cols - info.length + 1);
    c.set.series.push_back(info);
    const int first = c.age_aligned ? 1 : info.start_position;
    for (int j = 1; j <= cols; ++j) {
      const bool inside = j >= first && j < first + info.length;
      if (!inside && !(strays && uniform(0, 9) == 0)) continue;
      if (uniform(0, 4) == 0) continue;  // a missing ring
      c.values(i, j) =
          uniform(0, 2) == 0 ? kPool[uniform(0, 8)] : 0.25f * static_cast<float>(uniform(0, 12));
    }
  }
  // Classes of random sizes from position 1 until past the last column, sometimes further.
  const int reach = cols + (uniform(0, 2) == 0 ? uniform(1, 6) : 0);
  for (int start = 1; start <= reach;) {
    const int end = start + uniform(0, uniform(0, 1) == 0 ? 2 : 6);
    c.table.classes.push_back({start, end});
    start = end + 1;
  }
  c.table.rac_index = uniform(1, c.table.count());
  c.table.rac_start = c.table.at(c.table.rac_index).start;
  c.table.rac_end = c.table.at(c.table.rac_index).end;
  if (uniform(0, 9) == 0) {
    // RAC bounds that are not those of a class (the block may then hold a rank twice).
    c.table.rac_start = uniform(1, reach);
    c.table.rac_end = uniform(c.table.rac_start, reach + 2);
  }
  return c;
}

std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }

TEST(RankclsReferenceTest, TranscriptionGivesTheWorkedTieRanks) {
  Grid<float> values(3, 4, kMissing);
  const float rows[3][4] = {{5, 2, 2, kMissing}, {5, 1, 2, 7}, {kMissing, 2, 5, 1}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 4; ++j) values(i, j) = rows[i - 1][j - 1];
  }
  AgeClassTable table;
  table.classes = {{1, 4}};
  table.rac_index = 1;
  ClassRanks r;
  std::ostringstream messages;
  rankcls_reference(values, 3, table, &r, messages);
  const int expected[3][4] = {{7, 3, 5, 0}, {8, 1, 6, 10}, {0, 4, 9, 2}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(r.ranks(i, j), expected[i - 1][j - 1]);
  }
}

TEST(RankclsReferenceTest, FastMethodMatchesTheStepByStepScans) {
  std::mt19937 rng(20240611u);
  // How often each size relation between a class and the RAC came up.
  int smaller = 0;
  int equal = 0;
  int larger = 0;
  int empty_class = 0;
  int empty_rac = 0;
  for (int trial = 0; trial < 4000; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const RandomCase c = make_case(rng);
    const int series = c.set.count();

    ClassRanks fast;
    ClassRanks slow;
    std::ostringstream slow_messages;
    rankcls(c.values, series, c.table, &fast);
    rankcls_reference(c.values, series, c.table, &slow, slow_messages);
    ASSERT_EQ(fast.class_counts, slow.class_counts);
    ASSERT_EQ(fast.rac_count, slow.rac_count);
    std::string empty_class_lines;
    for (int k = 0; k < empty_classes(fast); ++k) {
      empty_class_lines += std::string(kNothingToSortMessage) + "\n";
    }
    ASSERT_EQ(empty_class_lines, slow_messages.str());
    for (int i = 1; i <= c.values.rows(); ++i) {
      for (int j = 1; j <= c.values.cols(); ++j) {
        ASSERT_EQ(fast.ranks(i, j), slow.ranks(i, j)) << "cell " << i << ", " << j;
      }
    }

    Grid<float> fast_out(c.values.rows(), c.values.cols(), kMissing);
    Grid<float> slow_out(c.values.rows(), c.values.cols(), kMissing);
    replace_by_rac(c.values, fast, c.table, c.set, c.age_aligned, &fast_out);
    replace_by_rac_reference(c.values, slow, c.table, c.set, c.age_aligned, &slow_out);
    for (int i = 1; i <= c.values.rows(); ++i) {
      for (int j = 1; j <= c.values.cols(); ++j) {
        ASSERT_EQ(bits(fast_out(i, j)), bits(slow_out(i, j))) << "cell " << i << ", " << j;
      }
    }

    const int m = slow.rac_count;
    if (m == 0) ++empty_rac;
    for (int k = 1; k <= c.table.count(); ++k) {
      if (k == c.table.rac_index) continue;
      const int n = slow.class_counts[static_cast<std::size_t>(k - 1)];
      if (n == 0) {
        ++empty_class;
      } else if (n < m) {
        ++smaller;
      } else if (n == m) {
        ++equal;
      } else {
        ++larger;
      }
    }
  }
  EXPECT_GT(smaller, 100);
  EXPECT_GT(equal, 100);
  EXPECT_GT(larger, 100);
  EXPECT_GT(empty_class, 100);
  EXPECT_GT(empty_rac, 100);
}

// Classes long enough for the radix sort, with many ties, -0 and +0, and missing cells; a grid
// large enough for the classes to be ranked on both cores.
TEST(RankclsReferenceTest, FastMethodMatchesOnLargeClasses) {
  std::mt19937 rng(7u);
  const int rows = 80;
  const int cols = 420;
  Grid<float> values(rows, cols, kMissing);
  MeasurementSet set;
  for (int i = 1; i <= rows; ++i) {
    SeriesInfo info;
    info.start_position = 1;
    info.length = cols;
    set.series.push_back(info);
    for (int j = 1; j <= cols; ++j) {
      const auto pick = static_cast<unsigned>(rng() % 1000);
      if (pick < 80) continue;
      if (pick < 90) {
        values(i, j) = (pick & 1) != 0 ? -0.0f : 0.0f;
      } else {
        values(i, j) = static_cast<float>(static_cast<int>(rng() % 4001) - 1000) * 0.01f;
      }
    }
  }
  AgeClassTable table;
  table.classes = {{1, 100}, {101, 110}, {111, 210}, {211, 310}, {311, 450}};
  table.rac_index = 2;
  table.rac_start = 101;
  table.rac_end = 110;
  ClassRanks fast;
  ClassRanks slow;
  std::ostringstream messages;
  rankcls(values, rows, table, &fast);
  rankcls_reference(values, rows, table, &slow, messages);
  ASSERT_GT(slow.class_counts[0], 4096);
  ASSERT_EQ(fast.class_counts, slow.class_counts);
  ASSERT_EQ(fast.rac_count, slow.rac_count);
  Grid<float> fast_out(rows, cols, kMissing);
  Grid<float> slow_out(rows, cols, kMissing);
  replace_by_rac(values, fast, table, set, true, &fast_out);
  replace_by_rac_reference(values, slow, table, set, true, &slow_out);
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= cols; ++j) {
      ASSERT_EQ(fast.ranks(i, j), slow.ranks(i, j)) << "cell " << i << ", " << j;
      ASSERT_EQ(bits(fast_out(i, j)), bits(slow_out(i, j))) << "cell " << i << ", " << j;
    }
  }
}

}  // namespace
}  // namespace kvr
