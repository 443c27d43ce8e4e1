#include "statistics/residual_rank_chronology.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include "common/dimensions.h"
#include "measurements/measured_series.h"
#include "numeric/ar_model.h"
#include "standardize/chronology.h"
#include "statistics/shared_position_samples.h"

namespace kvr {
namespace {

// The buffers of one worker's years: the residuals of a year in single precision, and
// robmean's scratch.
struct YearScratch {
  std::vector<float> sample;
  std::vector<float> deviations;
};

}  // namespace

ResidualRankChronology residual_rank_chronology(const Grid<float>& by_year, int series_count,
                                                int time_span) {
  const int rows = std::clamp(series_count, 0, by_year.rows());
  const int years = std::clamp(time_span, 0, by_year.cols());
  const auto row_count = static_cast<std::size_t>(rows);
  // Each row's model, fitted on both cores, and the positions of its first and last value.
  std::vector<std::optional<ArModel>> models(row_count);
  std::vector<std::optional<ArResiduals>> residuals(row_count);
  std::vector<PositionSpan> spans(row_count);
  std::vector<std::vector<double>> values(static_cast<std::size_t>(kWorkers));
  share_out(rows, row_count * static_cast<std::size_t>(years), [&](int index, int worker) {
    const auto r = static_cast<std::size_t>(index);
    std::vector<double>& own = values[static_cast<std::size_t>(worker)];
    own.clear();
    const float* row = by_year.row(index + 1);
    for (int p = 0; p < years; ++p) {
      if (is_missing(row[p])) continue;
      if (own.empty()) spans[r].first = p + 1;
      spans[r].last = p + 1;
      own.push_back(static_cast<double>(row[p]));
    }
    models[r] = fit_ar_model(own);
    if (models[r]) {
      residuals[r].emplace(*models[r]);
    } else {
      spans[r] = PositionSpan{};  // left out
    }
  });

  ResidualRankChronology result;
  result.sample_depth.assign(static_cast<std::size_t>(std::max(time_span, 0)), 0);
  result.robust_mean.assign(result.sample_depth.size(), kMissing);
  std::vector<YearScratch> scratch(static_cast<std::size_t>(kWorkers));
  for (YearScratch& own : scratch) {
    own.sample.resize(row_count);
    own.deviations.resize(row_count);
  }
  SharedPositionBuffer buffer;
  share_position_samples(
      spans, 1, years,
      [&](std::size_t r, int from, std::span<double> out) {
        const float* row = by_year.row(static_cast<int>(r) + 1) + (from - 1);
        for (std::size_t b = 0; b < out.size(); ++b) {
          out[b] = is_missing(row[b]) ? kNotAvailable : static_cast<double>(row[b]);
        }
        residuals[r]->run_in_place(out);
      },
      [&](int year, std::span<double> residual, int worker) {
        // Each residual is stored in single precision; one that comes out as the missing
        // value counts as none, as in a grid of the residuals.
        YearScratch& own = scratch[static_cast<std::size_t>(worker)];
        std::size_t n = 0;
        for (const double e : residual) {
          const float v = static_cast<float>(e);
          own.sample[n] = v;
          n += is_missing(v) ? 0 : 1;
        }
        const auto y = static_cast<std::size_t>(year - 1);
        result.sample_depth[y] = static_cast<int>(n);
        int control = 2;
        float location = 0.0f;
        float scale = 0.0f;
        float standard_error = 0.0f;
        robmean(std::span<float>(own.sample.data(), n), own.deviations, &control, &location, &scale,
                &standard_error);
        if (control != 0) result.robust_mean[y] = location;
      },
      &buffer);
  return result;
}

}  // namespace kvr
