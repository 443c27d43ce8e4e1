// The residual rank chronology of whole runs against a plain model of it: each standardized
// series of the run prewhitened in double precision by an AR model written out here from its
// definition (Yule-Walker by the Levinson-Durbin recursion, the order by AIC), stored in single
// precision at its years, and combined year by year by the run's robust mean.

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
#include "standardize/age_class_layout.h"
#include "standardize/chronology.h"
#include "standardize/rankcls.h"
#include "test_support.h"

namespace kvr::test {
namespace {

// The residuals of x (gaps closed) by the AR model of least AIC, NaN for the first `order`
// values; empty when x cannot be prewhitened (3 values or fewer, or constant).
std::vector<double> prewhitened(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  if (n <= 3) return {};
  double mean = 0.0;
  for (double v : x) mean += v;
  mean /= n;
  const int max_order = std::min(n - 1, static_cast<int>(std::floor(10.0 * std::log10(n))));
  std::vector<double> r(static_cast<std::size_t>(max_order + 1), 0.0);
  for (int k = 0; k <= max_order; ++k) {
    for (int t = 0; t + k < n; ++t) r[k] += (x[t] - mean) * (x[t + k] - mean);
    r[k] /= n;
  }
  if (!(r[0] > 0.0)) return {};
  // Levinson-Durbin: phi[k] holds the coefficients of order k.
  std::vector<std::vector<double>> phi(1);
  double v = r[0];
  double best_aic = n * std::log(v);
  int order = 0;
  for (int k = 1; k <= max_order; ++k) {
    double acc = r[k];
    for (int i = 1; i < k; ++i) acc -= phi[k - 1][i - 1] * r[k - i];
    const double reflection = acc / v;
    std::vector<double> next(static_cast<std::size_t>(k));
    for (int i = 1; i < k; ++i)
      next[i - 1] = phi[k - 1][i - 1] - reflection * phi[k - 1][k - i - 1];
    next[k - 1] = reflection;
    const double next_v = v * (1.0 - reflection * reflection);
    if (!(next_v > 0.0)) break;
    phi.push_back(next);
    v = next_v;
    const double aic = n * std::log(v) + 2.0 * k;
    if (aic < best_aic) {
      best_aic = aic;
      order = k;
    }
  }
  std::vector<double> e(x.size(), std::nan(""));
  for (int t = order; t < n; ++t) {
    double predicted = 0.0;
    for (int i = 1; i <= order; ++i) predicted += phi[order][i - 1] * (x[t - i] - mean);
    e[t] = x[t] - mean - predicted + mean;
  }
  return e;
}

// The model's chronology: every row of `by_year` prewhitened, then build_chronology.
std::vector<float> modelled_residual_chronology(const Grid<float>& by_year, int rows, int span) {
  Grid<float> residuals(rows, span, kMissing);
  for (int j = 1; j <= rows; ++j) {
    std::vector<double> values;
    for (int p = 1; p <= span; ++p) {
      if (!is_missing(by_year(j, p))) values.push_back(by_year(j, p));
    }
    const std::vector<double> e = prewhitened(values);
    if (e.empty()) continue;
    std::size_t k = 0;
    for (int p = 1; p <= span; ++p) {
      if (is_missing(by_year(j, p))) continue;
      if (!std::isnan(e[k])) residuals(j, p) = static_cast<float>(e[k]);
      ++k;
    }
  }
  return build_chronology(residuals, rows, span).robust_mean;
}

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
        modelled_residual_chronology(standardized.by_year, set.count(), set.time_span);

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
