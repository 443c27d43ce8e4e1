#include "statistics/series_report_years.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "statistics/leave_one_out.h"

namespace kvr {
namespace {

// Series over staggered spans (one empty, one of a single year, one across several blocks)
// with gaps, and `whole_series` more over the whole walk: every year's values and masters
// against leave_one_out_tbrm of the values present that year in series order, each series
// filled once over its span, in rising order, and the blocks taken in order over the walk.
void check_walk(int whole_series) {
  const int first = 1000;
  const int last = first + 3 * kMasterBlock + 17;
  std::vector<PositionSpan> spans = {
      {first, last},          {first + 40, first + 40},         {0, -1},
      {first + 5, last - 30}, {first + kMasterBlock - 1, last}, {first, first + kMasterBlock}};
  spans.insert(spans.end(), static_cast<std::size_t>(whole_series), PositionSpan{first, last});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  auto value = [&](std::size_t j, int year) {
    if (year < spans[j].first || year > spans[j].last || (year + 3 * j) % 11 == 0) return nan;
    return std::sin(0.37 * year + 1.3 * static_cast<double>(j)) + 1.0;
  };
  const std::size_t count = spans.size();
  std::vector<int> next_fill(count);  // the next year series j expects to be filled
  for (std::size_t j = 0; j < count; ++j) next_fill[j] = spans[j].first;
  std::vector<int> takes(count, 0);
  int walked_to = first - 1;  // the last year of the blocks taken so far
  std::vector<std::vector<double>> seen_values(count), seen_masters(count);

  auto fill = [&](std::size_t j, int from, std::span<double> out) {
    EXPECT_EQ(from, next_fill[j]) << j;
    for (std::size_t k = 0; k < out.size(); ++k) out[k] = value(j, from + static_cast<int>(k));
    next_fill[j] = from + static_cast<int>(out.size());
  };
  auto take = [&](std::size_t j, const MasterBlock& block) {
    ++takes[j];
    if (j == 0) {
      EXPECT_EQ(block.first(), walked_to + 1);
      walked_to = block.last();
    }
    const int from = std::max(block.first(), spans[j].first);
    const int to = std::min(block.last(), spans[j].last);
    for (int year = from; year <= to; ++year) {
      seen_values[j].push_back(block.value(j, year));
      seen_masters[j].push_back(block.master(j, year));
    }
  };
  for_each_master_block(spans, first, last, fill, take);
  EXPECT_EQ(walked_to, last);
  EXPECT_GE(takes[0], 4);

  LeaveOneOutWorkspace loo;
  std::vector<std::size_t> at(count, 0);
  for (int year = first; year <= last; ++year) {
    std::vector<double> sample;
    std::vector<std::size_t> owners;
    for (std::size_t j = 0; j < count; ++j) {
      if (!std::isnan(value(j, year))) {
        sample.push_back(value(j, year));
        owners.push_back(j);
      }
    }
    std::vector<double> masters(sample.size());
    leave_one_out_tbrm(sample, masters, &loo);
    std::vector<double> expected(count, nan);
    for (std::size_t k = 0; k < owners.size(); ++k) expected[owners[k]] = masters[k];
    for (std::size_t j = 0; j < count; ++j) {
      if (year < spans[j].first || year > spans[j].last) continue;
      const std::size_t i = at[j]++;
      ASSERT_LT(i, seen_values[j].size()) << j;
      EXPECT_TRUE(std::isnan(value(j, year)) ? std::isnan(seen_values[j][i])
                                             : seen_values[j][i] == value(j, year));
      EXPECT_TRUE(std::isnan(expected[j]) ? std::isnan(seen_masters[j][i])
                                          : seen_masters[j][i] == expected[j])
          << "series " << j << " year " << year;
    }
  }
  for (std::size_t j = 0; j < count; ++j) {
    EXPECT_EQ(takes[j], takes[0]) << j;
    EXPECT_EQ(at[j], seen_values[j].size()) << j;
    if (spans[j].first <= spans[j].last) {
      EXPECT_EQ(next_fill[j], spans[j].last + 1) << j;
    }
  }
}

// Alone, the series make a walk for one core, in small blocks; with six whole series more,
// one whose blocks the cores share.
TEST(SeriesReportYearsTest, BlocksAgreeWithEachYearsSample) {
  for (const int whole_series : {0, 6}) {
    SCOPED_TRACE(whole_series);
    check_walk(whole_series);
  }
}

}  // namespace
}  // namespace kvr
