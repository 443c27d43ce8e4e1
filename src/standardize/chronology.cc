#include "standardize/chronology.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

#include "common/dimensions.h"
#include "common/parallel.h"
#include "numeric/order_statistics.h"
#include "numeric/quicksort.h"
#include "numeric/radix_sort.h"

namespace kvr {
namespace {

// Biweight tuning constant and number of passes.
constexpr double kBiweightTuning = 7.5;
constexpr int kBiweightPasses = 4;

// Below this MAD the sample is taken as constant and the biweight is skipped.
constexpr float kSmallMad = 0.0001f;

// Years handled per sweep over the series: each series row is read in runs of this many
// contiguous cells instead of one cell per row and year, which keeps the walk over a large
// grid cache-friendly. The values of a year are still collected in series order. The blocks
// are shared out between the cores.
constexpr int kYearBlock = 64;

// x(i), 1-based, of a sample held in a span.
float at(std::span<const float> x, int i) { return x[static_cast<std::size_t>(i - 1)]; }

// The mean of two elements: summed in double, stored in single precision.
float mean_of_two(float a, float b) {
  return static_cast<float>((static_cast<double>(a) + static_cast<double>(b)) / 2.0);
}

// The square root of n taken as a single-precision real.
float sqrt_of_count(int n) { return std::sqrt(static_cast<float>(n)); }

// The hinges of the ascending sample x (not empty).
Hinges sorted_hinges(std::span<const float> x) {
  Hinges result;
  const int n = static_cast<int>(x.size());
  result.minimum = at(x, 1);
  result.maximum = at(x, n);
  result.median = mean_of_two(at(x, n / 2 + 1), at(x, n - n / 2));
  // Each half holds h values; for odd n the middle value belongs to both halves.
  const int h = (n + 1) / 2;
  result.lower_hinge = mean_of_two(at(x, h / 2 + 1), at(x, h - h / 2));
  result.upper_hinge = mean_of_two(at(x, n - h + h / 2 + 1), at(x, n - h / 2));
  result.hinge_spread = result.upper_hinge - result.lower_hinge;
  return result;
}

// Sorts the sample x ascending into exactly the array the quicksort makes, with `spare` (at
// least as long) as work space. Equal values are equal bit for bit, so any sort gives that
// array, except that -0.0 and +0.0 are equal yet differ in their sign: where the sample holds
// a -0.0, the quicksort's own order of the zeros is kept by quicksorting it; otherwise the
// far faster radix sort does.
void sort_sample(std::span<float> x, std::span<float> spare) {
  const bool negative_zero =
      std::any_of(x.begin(), x.end(), [](float v) { return v == 0.0f && std::signbit(v); });
  if (negative_zero) {
    quicksort(x);
  } else {
    radix_sort(x, spare);
  }
}

}  // namespace

float Chronology::upper_band(int y) const {
  const float se = standard_error[static_cast<std::size_t>(y - 1)];
  if (is_missing(se)) return kMissing;
  return robust_mean[static_cast<std::size_t>(y - 1)] + 2.0f * se;
}

float Chronology::lower_band(int y) const {
  const float se = standard_error[static_cast<std::size_t>(y - 1)];
  if (is_missing(se)) return kMissing;
  return robust_mean[static_cast<std::size_t>(y - 1)] - 2.0f * se;
}

Hinges hinges(std::span<float> x) {
  Hinges result;
  const int n = static_cast<int>(x.size());
  if (n < 1) return result;
  quicksort(x);
  return sorted_hinges(x);
}

void robmean(std::span<float> x, std::span<float> d, int* control, float* location, float* scale,
             float* standard_error) {
  const int n = static_cast<int>(x.size());
  if (n == 0) {
    *control = 0;
    return;
  }

  double sum = 0.0;
  for (float v : x) sum += static_cast<double>(v);
  const double mean = sum / static_cast<double>(n);
  if (n <= 3) {
    *location = static_cast<float>(mean);
    *scale = 0.0f;
    *standard_error = 0.0f;
    *control = 1;
    return;
  }

  assert(d.size() >= x.size());
  const std::span<float> dev = d.first(x.size());
  sort_sample(x, dev);
  const float median = sorted_hinges(x).median;
  *location = median;

  // The median absolute deviation, without a consistency factor: the middle elements of the
  // sorted deviations, found without sorting them.
  const auto l = static_cast<std::size_t>((n + 1) / 2);
  const auto count = static_cast<std::size_t>(n);
  const float mad = mean_of_two(sorted_abs_deviation(x, median, l - 1),
                                sorted_abs_deviation(x, median, count - l));

  if (mad < kSmallMad && n >= 6) {
    *scale = mad;
    *standard_error = mad / sqrt_of_count(n);
    return;
  }
  if (n <= 5) {
    *scale = 1.5f * mad;
    *standard_error = 1.5f * mad / sqrt_of_count(n);
    return;
  }

  // Tukey biweight around the median with the MAD as a fixed scale, in double precision.
  const double s = static_cast<double>(mad);
  const double width = kBiweightTuning * s;
  double t = static_cast<double>(median);
  double spread = 0.0;
  for (int pass = 1; pass <= kBiweightPasses; ++pass) {
    double a_sum = 0.0;
    double b_sum = 0.0;
    double g_sum = 0.0;
    double w_sum = 0.0;
    for (float v : x) {
      const double r = static_cast<double>(v) - t;
      const double u = r / width;
      if (std::fabs(u) >= 1.0) continue;
      const double u2 = u * u;
      const double a = 1.0 - u2;
      const double a2 = a * a;
      a_sum += a2 * a2 * r * r;
      b_sum += a * (1.0 - 5.0 * u2);
      g_sum += a2 * r;
      w_sum += a2;
    }
    t += g_sum / w_sum;
    spread = (static_cast<double>(n) / std::sqrt(static_cast<double>(n - 1))) * std::sqrt(a_sum) /
             std::fabs(b_sum);
  }
  *location = static_cast<float>(t);
  *scale = static_cast<float>(spread);
  *standard_error = static_cast<float>(spread / static_cast<double>(sqrt_of_count(n)));
}

namespace {

// The buffers of one worker's block of years.
struct YearBlockScratch {
  std::vector<float> block;
  std::vector<int> depth;
  std::vector<float> deviations;
};

// The chronology of years first..last, gathered from rows 1..rows (positions up to
// stored_years), marking the years with a value.
void year_block(const Grid<float>& by_year, int rows, int stored_years, int first, int last,
                YearBlockScratch* own, Chronology* chronology, std::vector<char>* has_value) {
  const std::size_t row_count = static_cast<std::size_t>(rows);
  own->block.resize(static_cast<std::size_t>(kYearBlock) * row_count);
  own->depth.assign(static_cast<std::size_t>(kYearBlock), 0);
  own->deviations.resize(row_count);
  const int stored_last = std::min(last, stored_years);
  // block[b * rows + k] is the k-th value (in series order) of year first + b.
  for (int i = 1; i <= rows && first <= stored_last; ++i) {
    const float* row = by_year.row(i);
    for (int y = first; y <= stored_last; ++y) {
      const float v = row[y - 1];
      if (is_missing(v)) continue;
      const std::size_t b = static_cast<std::size_t>(y - first);
      int& depth = own->depth[b];
      own->block[b * row_count + static_cast<std::size_t>(depth)] = v;
      ++depth;
    }
  }
  for (int b = 0; b <= last - first; ++b) {
    const std::size_t y = static_cast<std::size_t>(first + b - 1);
    const int n = own->depth[static_cast<std::size_t>(b)];
    chronology->sample_depth[y] = n;
    const std::span<float> sample(own->block.data() + static_cast<std::size_t>(b) * row_count,
                                  static_cast<std::size_t>(n));
    int control = 2;
    float location = 0.0f;
    float scale = 0.0f;
    float standard_error = 0.0f;
    robmean(sample, own->deviations, &control, &location, &scale, &standard_error);
    if (control == 0) continue;
    chronology->robust_mean[y] = location;
    if (control == 2) chronology->standard_error[y] = standard_error;
    (*has_value)[y] = 1;
  }
}

}  // namespace

Chronology build_chronology(const Grid<float>& by_year, int series_count, int time_span) {
  Chronology chronology;
  const int years = std::max(time_span, 0);
  const std::size_t year_count = static_cast<std::size_t>(years);
  chronology.sample_depth.assign(year_count, 0);
  chronology.robust_mean.assign(year_count, kMissing);
  chronology.standard_error.assign(year_count, kMissing);

  // Only cells inside the grid are read: rows beyond it and years beyond its columns count
  // as having no value.
  const int rows = std::clamp(series_count, 0, by_year.rows());
  const int stored_years = std::min(years, by_year.cols());

  // Each worker gathers its blocks of years into its own buffers; each year's figures go to
  // their own places, so the workers never write the same cell.
  std::vector<YearBlockScratch> scratch(static_cast<std::size_t>(kWorkers));
  std::vector<char> has_value(year_count, 0);
  const int block_count = (years + kYearBlock - 1) / kYearBlock;
  const std::size_t cells = static_cast<std::size_t>(rows) * year_count;
  share_out(block_count, cells, [&](int index, int worker) {
    const int first = 1 + index * kYearBlock;
    year_block(by_year, rows, stored_years, first, std::min(first + kYearBlock - 1, years),
               &scratch[static_cast<std::size_t>(worker)], &chronology, &has_value);
  });

  // The average, summed year by year in order.
  float sum = 0.0f;
  int count = 0;
  for (std::size_t y = 0; y < year_count; ++y) {
    if (has_value[y] == 0) continue;
    sum += chronology.robust_mean[y];
    ++count;
  }
  // Without any chronology value there is no average: the missing value, not 0 / 0.
  chronology.average = count > 0 ? sum / static_cast<float>(count) : kMissing;
  return chronology;
}

}  // namespace kvr
