#include "standardize/rankcls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/dimensions.h"
#include "grid_testing.h"

namespace kvr {
namespace {

constexpr float M = kMissing;

AgeClassTable make_table(const std::vector<AgeClass>& classes, int rac_index) {
  AgeClassTable t;
  t.classes = classes;
  t.rac_index = rac_index;
  t.rac_start = t.at(rac_index).start;
  t.rac_end = t.at(rac_index).end;
  return t;
}

// Series i starts at calendar position starts[i - 1] with lengths[i - 1] values.
MeasurementSet make_set(const std::vector<int>& starts, const std::vector<int>& lengths) {
  MeasurementSet set;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    SeriesInfo info;
    info.start_position = starts[i];
    info.length = lengths[i];
    set.series.push_back(info);
  }
  return set;
}

// rankcls of every series of `set`, then replace_by_rac into a grid of the values' shape.
struct Replaced {
  ClassRanks ranks;
  Grid<float> standardized;
  int empty_classes = 0;
};

Replaced rank_and_replace(const Grid<float>& values, const AgeClassTable& table,
                          const MeasurementSet& set, bool age_aligned) {
  Replaced r;
  rankcls(values, set.count(), table, &r.ranks);
  r.standardized.reset(values.rows(), values.cols(), kMissing);
  replace_by_rac(values, r.ranks, table, set, age_aligned, &r.standardized);
  r.empty_classes = empty_classes(r.ranks);
  return r;
}

TEST(RankclsTest, TiesRankInScanOrder) {
  // Scan order: position 1 (series 1, 2), position 2 (1, 2, 3), ...
  const Grid<float> values = make_grid({
      {5, 2, 2, M},
      {5, 1, 2, 7},
      {M, 2, 5, 1},
  });
  ClassRanks r;
  rankcls(values, 3, make_table({{1, 4}}, 1), &r);
  EXPECT_EQ(rows_of(r.ranks), (std::vector<std::vector<int>>{
                                  {7, 3, 5, 0},
                                  {8, 1, 6, 10},
                                  {0, 4, 9, 2},
                              }));
  EXPECT_EQ(r.class_counts, std::vector<int>{10});
  EXPECT_EQ(r.rac_count, 10);
  EXPECT_EQ(empty_classes(r), 0);
}

TEST(RankclsTest, ClassesRankedApartAndEmptyClassesReported) {
  // Classes [1,2], [3,4] (all missing), [5,6] (RAC), [7,9] (beyond the 6 stored positions).
  const Grid<float> values = make_grid({
      {3, 1, M, M, 9, 8},
      {2, 4, M, M, 8, 7},
      {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f},  // series 3 is not part of the set
  });
  ClassRanks r;
  rankcls(values, 2, make_table({{1, 2}, {3, 4}, {5, 6}, {7, 9}}, 3), &r);
  EXPECT_EQ(rows_of(r.ranks), (std::vector<std::vector<int>>{
                                  {3, 1, 0, 0, 4, 3},
                                  {2, 4, 0, 0, 2, 1},
                                  {0, 0, 0, 0, 0, 0},
                              }));
  EXPECT_EQ(r.class_counts, (std::vector<int>{4, 0, 4, 0}));
  EXPECT_EQ(r.rac_count, 4);
  EXPECT_EQ(empty_classes(r), 2);
}

TEST(RankclsTest, MappedRank) {
  struct Case {
    int n;
    int m;
    std::vector<int> expected;  // for ranks 1..n
  };
  const Case cases[] = {
      {10, 5, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5}},  // q = 0.75, 1.25, ..., 5.25
      {4, 8, {2, 4, 6, 8}},                     // q = 1.5, 3.5, 5.5, 7.5: halves go up
      {1, 4, {3}},
      {1, 5, {3}},
      {5, 4, {1, 2, 3, 3, 4}},  // q = 0.9, 1.7, 2.5, 3.3, 4.1
      {7, 7, {1, 2, 3, 4, 5, 6, 7}},
      {3, 1, {1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.n) + " -> " + std::to_string(c.m));
    std::vector<int> got;
    for (int rank = 1; rank <= c.n; ++rank) got.push_back(mapped_rank(rank, c.n, c.m));
    EXPECT_EQ(got, c.expected);
  }
  // A missing cell (rank 0): q = -0.5 rounds away from zero; with n = m it stays 0.
  EXPECT_EQ(mapped_rank(0, 4, 8), -1);
  EXPECT_EQ(mapped_rank(0, 7, 7), 0);
  // q = 736.499975 in double is 736.5 in single precision, which rounds up.
  EXPECT_EQ(mapped_rank(14708, 20003, 1001), 737);
  // An empty RAC: every rank maps to 1 or less.
  EXPECT_LE(mapped_rank(3, 3, 0), 1);
}

// A hand-worked standardization: RAC [1,2] with values 10, 20, 30, 40 (m = 4); class [3,6]
// with n = 5; class [7,7] with n = 1.
TEST(ReplaceByRacTest, WorkedExample) {
  const Grid<float> values = make_grid({
      {10, 40, 3, 1, 4, 1, 9, M},
      {30, 20, 8, M, M, M, M, M},
  });
  const Replaced r = rank_and_replace(values, make_table({{1, 2}, {3, 6}, {7, 7}}, 1),
                                      make_set({1, 1}, {7, 3}), true);
  ASSERT_EQ(r.ranks.class_counts, (std::vector<int>{4, 5, 1}));
  // Class 2 ranks: 1 (pos 4), 1 (pos 6), 3, 4, 8 -> 1, 2, 3, 4, 5; mapped 1, 2, 3, 3, 4.
  ASSERT_EQ(rows_of(r.ranks.ranks), (std::vector<std::vector<int>>{
                                        {1, 4, 3, 1, 4, 2, 1, 0},
                                        {3, 2, 5, 0, 0, 0, 0, 0},
                                    }));
  // The RAC comes back unchanged; the single value of class 3 takes RAC rank 3.
  EXPECT_EQ(rows_of(r.standardized), (std::vector<std::vector<float>>{
                                         {10, 40, 30, 10, 30, 20, 30, M},
                                         {30, 20, 40, M, M, M, M, M},
                                     }));
}

// Missing cells inside the spans: no rank, no count in their class, missing afterwards, and
// never a RAC value. RAC [1,2] holds 10, 20, 40 (m = 3); class [3,5] holds 30, 1, 2, 3 (n = 4),
// whose ranks 1..4 map to q = 0.875, 1.625, 2.375, 3.125.
TEST(ReplaceByRacTest, MissingCellsInsideSpansStayMissing) {
  const Grid<float> values = make_grid({
      {10, M, 30, 1, M},
      {20, 40, M, 2, 3},
  });
  const Replaced r =
      rank_and_replace(values, make_table({{1, 2}, {3, 5}}, 1), make_set({1, 1}, {5, 5}), true);
  EXPECT_EQ(r.ranks.class_counts, (std::vector<int>{3, 4}));
  EXPECT_EQ(rows_of(r.ranks.ranks),
            (std::vector<std::vector<int>>{{1, 0, 4, 1, 0}, {2, 3, 0, 2, 3}}));
  EXPECT_EQ(rows_of(r.standardized), (std::vector<std::vector<float>>{
                                         {10, M, 40, 10, M},
                                         {20, 40, M, 20, 20},
                                     }));
}

TEST(ReplaceByRacTest, ClassAsLargeAsTheRacTakesItsValuesInOrder) {
  const Grid<float> values = make_grid({
      {1.5f, 0.25f, 7, 3},
      {2.5f, 0.75f, 5, 9},
  });
  const Replaced r =
      rank_and_replace(values, make_table({{1, 2}, {3, 4}}, 1), make_set({1, 1}, {4, 4}), true);
  // Class 2 sorted: 3, 5, 7, 9 -> RAC sorted 0.25, 0.75, 1.5, 2.5.
  EXPECT_EQ(rows_of(r.standardized), (std::vector<std::vector<float>>{
                                         {1.5f, 0.25f, 1.5f, 0.25f},
                                         {2.5f, 0.75f, 0.75f, 2.5f},
                                     }));
}

TEST(ReplaceByRacTest, CalendarSpansEmptyClassesAndEmptyRac) {
  // Calendar aligned: series 1 covers positions 2..5, series 2 positions 1..3.
  const Grid<float> values = make_grid({
      {M, 4, 2, 6, 8, M},
      {1, 3, 5, M, M, M},
  });
  {
    // Classes [1,3] (RAC), [4,5], [6,8] (empty, runs beyond the stored positions).
    const Replaced r = rank_and_replace(values, make_table({{1, 3}, {4, 5}, {6, 8}}, 1),
                                        make_set({2, 1}, {4, 3}), false);
    ASSERT_EQ(r.ranks.rac_count, 5);
    // n = 2, m = 5: q = 1.75, 4.25 -> RAC ranks 2 and 4, values 2 and 4.
    EXPECT_EQ(rows_of(r.standardized), (std::vector<std::vector<float>>{
                                           {M, 4, 2, 2, 4, M},
                                           {1, 3, 5, M, M, M},
                                       }));
    EXPECT_EQ(r.empty_classes, 1);
  }
  {
    // The RAC is the empty class: nothing is standardized.
    const Replaced r = rank_and_replace(values, make_table({{1, 3}, {4, 5}, {6, 8}}, 3),
                                        make_set({2, 1}, {4, 3}), false);
    ASSERT_EQ(r.ranks.rac_count, 0);
    EXPECT_EQ(rows_of(r.standardized),
              std::vector<std::vector<float>>(2, std::vector<float>(6, M)));
  }
}

// The whole standardization of a set: by ring number when age aligned, by calendar position
// otherwise; either way the result is by calendar position. One class holds every value and
// is the RAC, so each value stands for itself.
TEST(RankStandardizeTest, ResultIsByCalendarPositionForEitherAlignment) {
  MeasurementSet set = make_set({1, 3}, {3, 2});
  const AgeClassTable table = make_table({{1, 5}}, 1);
  const std::vector<std::vector<float>> by_year = {{1, 2, 3, M, M}, {M, M, 4, 5, M}};
  for (const bool age_aligned : {true, false}) {
    SCOPED_TRACE(age_aligned ? "age aligned" : "calendar aligned");
    set.values = age_aligned ? make_grid({{1, 2, 3, M, M}, {4, 5, M, M, M}}) : make_grid(by_year);
    const RankStandardized standardized = rank_standardize(set, table, age_aligned);
    EXPECT_EQ(rows_of(standardized.by_year), by_year);
    EXPECT_EQ(standardized.empty_classes, 0);
  }
}

}  // namespace
}  // namespace kvr
