#include "statistics/residual_rank_chronology.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "common/dimensions.h"
#include "numeric/ar_model.h"
#include "standardize/chronology.h"
#include "measurements/measured_series.h"

namespace kvr {
namespace {

// Positions whose residuals are stored and combined at a time: a grid of this many columns
// stands in for the whole residual matrix.
constexpr int kBlockYears = 64;

}  // namespace

ResidualRankChronology residual_rank_chronology(const Grid<float>& by_year, int series_count,
                                                int time_span) {
  const int rows = std::clamp(series_count, 0, by_year.rows());
  const int years = std::clamp(time_span, 0, by_year.cols());
  std::vector<ArModel> models(static_cast<std::size_t>(rows));
  std::vector<std::optional<ArResiduals>> residuals(static_cast<std::size_t>(rows));
  std::vector<double> values;
  for (int i = 1; i <= rows; ++i) {
    values.clear();
    const float* row = by_year.row(i);
    for (int p = 0; p < years; ++p) {
      if (!is_missing(row[p])) values.push_back(static_cast<double>(row[p]));
    }
    if (std::optional<ArModel> model = fit_ar_model(values)) {
      const auto r = static_cast<std::size_t>(i - 1);
      models[r] = std::move(*model);
      residuals[r].emplace(models[r]);
    }
  }

  ResidualRankChronology result;
  result.sample_depth.assign(static_cast<std::size_t>(std::max(time_span, 0)), 0);
  result.robust_mean.assign(result.sample_depth.size(), kMissing);
  Grid<float> block(rows, kBlockYears, kMissing);
  std::vector<double> run(static_cast<std::size_t>(kBlockYears));
  for (int start = 1; start <= years; start += kBlockYears) {
    const int width = std::min(kBlockYears, years - start + 1);
    block.fill(kMissing);
    for (int i = 1; i <= rows; ++i) {
      std::optional<ArResiduals>& filter = residuals[static_cast<std::size_t>(i - 1)];
      if (!filter) continue;
      const float* row = by_year.row(i) + (start - 1);
      for (int b = 0; b < width; ++b) {
        run[static_cast<std::size_t>(b)] =
            is_missing(row[b]) ? kNotAvailable : static_cast<double>(row[b]);
      }
      filter->run_in_place(std::span<double>(run.data(), static_cast<std::size_t>(width)));
      float* out = block.row(i);
      for (int b = 0; b < width; ++b) {
        const double e = run[static_cast<std::size_t>(b)];
        if (!std::isnan(e)) out[b] = static_cast<float>(e);
      }
    }
    const Chronology part = build_chronology(block, rows, width);
    const auto at = static_cast<std::ptrdiff_t>(start - 1);
    std::copy(part.robust_mean.begin(), part.robust_mean.end(), result.robust_mean.begin() + at);
    std::copy(part.sample_depth.begin(), part.sample_depth.end(), result.sample_depth.begin() + at);
  }
  return result;
}

}  // namespace kvr
