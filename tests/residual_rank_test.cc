// The residual rank chronology of whole runs against a plain model of it (residual_rank_model):
// each standardized series of the run prewhitened in double precision by an AR model written
// from its definition, stored in single precision at its years, and combined year by year by
// the run's robust mean.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "answers.h"
#include "decade_reading.h"
#include "in_process_run.h"
#include "measurements/calendar_shift.h"
#include "residual_rank_model.h"
#include "standardize/age_class_layout.h"
#include "standardize/rankcls.h"
#include "test_support.h"

namespace kvr::test {
namespace {

// The rank_res column of KVRrcs.txt, NaN for NA.
std::vector<double> residual_column(const std::string& rcs_file) {
  std::istringstream lines(rcs_file);
  std::vector<double> column;
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("year", 0) == 0) continue;
    std::istringstream fields(line);
    std::string year, rank, rank_res;
    std::getline(fields, year, '\t');
    std::getline(fields, rank, '\t');
    std::getline(fields, rank_res, '\t');
    column.push_back(rank_res == "NA" ? std::nan("") : std::strtod(rank_res.c_str(), nullptr));
  }
  return column;
}

TEST(ResidualRankChronologyTest, WholeRunsAgreeWithThePlainModel) {
  const struct {
    int alignment;  // 1 age, 2 calendar
    int class_size;
    int rac;
  } cases[] = {{1, 50, 2}, {2, 40, 3}};
  const std::string input = read_file(project_file("examples/example_spruce.rwl"));
  ASSERT_FALSE(input.empty());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.alignment);
    const InProcessRun run =
        run_in_process(plain_answers("example_spruce.rwl", c.alignment, c.class_size, c.rac).text(),
                       "example_spruce.rwl", input);
    ASSERT_EQ(run.status, 0) << run.screen;

    // The run's standardized series, made here as the run makes them.
    MeasurementSet set = read_measurements(input).set;
    const bool age_aligned = c.alignment == 1;
    if (!age_aligned) shift_to_calendar(set, &set.values);
    AgeClassTable table;
    table.classes =
        fixed_size_classes(age_aligned ? set.longest_length : set.time_span, c.class_size);
    table.class_size = c.class_size;
    table.rac_index = c.rac;
    table.rac_start = table.at(c.rac).start;
    table.rac_end = table.at(c.rac).end;
    const RankStandardized standardized = rank_standardize(set, table, age_aligned);
    const std::vector<float> model =
        modelled_residual_chronology(standardized.by_year, set.count(), set.time_span).robust_mean;

    const std::vector<double> written = residual_column(run.file("KVRrcs.txt"));
    ASSERT_EQ(written.size(), model.size());
    int compared = 0;
    for (std::size_t y = 0; y < model.size(); ++y) {
      const int year = set.earliest_first_year + static_cast<int>(y);
      if (is_missing(model[y])) {
        EXPECT_TRUE(std::isnan(written[y])) << year;
        continue;
      }
      // The file holds %.6g of the single-precision value.
      EXPECT_NEAR(written[y], model[y], 1e-5 * std::fabs(model[y])) << year;
      ++compared;
    }
    EXPECT_GT(compared, set.time_span - 10);
  }
}

}  // namespace
}  // namespace kvr::test
