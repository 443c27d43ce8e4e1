#include "statistics/signal_strength.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "common/dimensions.h"

namespace kvr {
namespace {

// The years are handled in blocks of one window lag: a window is two neighbouring blocks, and
// the whole chronology is all of them. Each pair's sums are formed once per block over its
// common years, so a window costs two additions instead of a pass over its years.
constexpr int kBlock = kSignalWindowLag;
static_assert(kSignalWindowLength == 2 * kBlock);

// A variance below this share of the series' sum of squares about its own mean is rounding
// left over from a stretch where the series is constant (the values are floats of about 7
// digits, so a real variation is far larger): such a correlation cannot be computed.
constexpr double kConstantShare = 1e-12;

// A sum below this share of its terms' size is zero up to rounding.
constexpr double kRoundingShare = 1e-12;

// Rows centered together in the pair loop (each as many doubles as the chronology has years).
constexpr int kTileRows = 32;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// One pair's sums over some of its common years, each series taken about its own mean.
struct PairSums {
  double n = 0.0;
  double sx = 0.0;
  double sy = 0.0;
  double sxx = 0.0;
  double syy = 0.0;
  double sxy = 0.0;

  PairSums& operator+=(const PairSums& o) {
    n += o.n;
    sx += o.sx;
    sy += o.sy;
    sxx += o.sxx;
    syy += o.syy;
    sxy += o.sxy;
    return *this;
  }
};

// The Pearson correlation of the sums, or empty with fewer than 30 years, with a series
// constant over them, or when no finite value comes out. Formed from n times the (co)variances,
// which needs one division.
std::optional<double> correlation(const PairSums& s) {
  if (s.n < kSignalMinCommonYears) return {};
  const double vx = s.n * s.sxx - s.sx * s.sx;
  const double vy = s.n * s.syy - s.sy * s.sy;
  if (!(vx > kConstantShare * s.n * s.sxx) || !(vy > kConstantShare * s.n * s.syy)) return {};
  const double r = (s.n * s.sxy - s.sx * s.sy) / std::sqrt(vx * vy);
  if (!std::isfinite(r)) return {};
  return std::clamp(r, -1.0, 1.0);
}

// 1 + x, or empty when x is -1 up to rounding: a denominator that vanishes (rbar of two
// mirrored series comes out as -1 + 2e-16, say, which would give an EPS of -4e14).
std::optional<double> one_plus(double x) {
  const double sum = 1.0 + x;
  if (std::fabs(sum) <= kRoundingShare * (1.0 + std::fabs(x))) return {};
  return sum;
}

// One series: the positions of its first and last value (last < first without any), its mean
// and, per block, the count, sum and sum of squares of its values about that mean.
struct SeriesBlocks {
  int first = 1;
  int last = 0;
  double mean = 0.0;
  std::vector<int> count;
  std::vector<double> sum;
  std::vector<double> squares;
};

SeriesBlocks summarize_series(const float* row, int years, int blocks) {
  SeriesBlocks s;
  double total = 0.0;
  int values = 0;
  for (int p = 1; p <= years; ++p) {
    const float v = row[p - 1];
    if (is_missing(v)) continue;
    if (values == 0) s.first = p;
    s.last = p;
    total += static_cast<double>(v);
    ++values;
  }
  s.count.assign(at(blocks), 0);
  s.sum.assign(at(blocks), 0.0);
  s.squares.assign(at(blocks), 0.0);
  if (values == 0) return s;
  s.mean = total / values;
  for (int p = s.first; p <= s.last; ++p) {
    const float v = row[p - 1];
    if (is_missing(v)) continue;
    const std::size_t b = at((p - 1) / kBlock);
    const double d = static_cast<double>(v) - s.mean;
    ++s.count[b];
    s.sum[b] += d;
    s.squares[b] += d * d;
  }
  return s;
}

// Sum over t < n of a[t] * b[t], in four interleaved running sums so that the additions do
// not wait for each other.
double dot(const double* a, const double* b, int n) {
  double acc[4] = {0.0, 0.0, 0.0, 0.0};
  int t = 0;
  for (; t + 4 <= n; t += 4) {
    for (int k = 0; k < 4; ++k) acc[k] += a[t + k] * b[t + k];
  }
  double total = (acc[0] + acc[1]) + (acc[2] + acc[3]);
  for (; t < n; ++t) total += a[t] * b[t];
  return total;
}

// Series `s` of `row` about its mean into out[p - 1] for the positions of its values, 0 where
// a value is missing.
void center(const float* row, const SeriesBlocks& s, double* out) {
  for (int p = s.first; p <= s.last; ++p) {
    const float v = row[p - 1];
    out[p - 1] = is_missing(v) ? 0.0 : static_cast<double>(v) - s.mean;
  }
}

// One series as the pair loop sees it: its row, the row about its mean (0 where missing) and
// its block sums.
struct SeriesRow {
  const float* raw;
  const double* centered;
  const SeriesBlocks* blocks;
};

// Fills sums[b] for the blocks b holding the common stretch lo..hi of the pair and returns
// their total.
PairSums pair_block_sums(const SeriesRow& a, const SeriesRow& b, int lo, int hi, PairSums* sums) {
  PairSums all;
  for (int k = (lo - 1) / kBlock; k <= (hi - 1) / kBlock; ++k) {
    const int from = std::max(lo, k * kBlock + 1);
    const int to = std::min(hi, (k + 1) * kBlock);
    const std::size_t block = at(k);
    PairSums& s = sums[block];
    s = PairSums();
    if (to - from + 1 == kBlock && a.blocks->count[block] == kBlock &&
        b.blocks->count[block] == kBlock) {
      // Both series hold every year of the block: their own sums are the pair's.
      s.n = kBlock;
      s.sx = a.blocks->sum[block];
      s.sy = b.blocks->sum[block];
      s.sxx = a.blocks->squares[block];
      s.syy = b.blocks->squares[block];
      s.sxy = dot(a.centered + (from - 1), b.centered + (from - 1), kBlock);
    } else {
      for (int p = from; p <= to; ++p) {
        if (is_missing(a.raw[p - 1]) || is_missing(b.raw[p - 1])) continue;
        const double x = a.centered[p - 1];
        const double y = b.centered[p - 1];
        s.n += 1.0;
        s.sx += x;
        s.sy += y;
        s.sxx += x * x;
        s.syy += y * y;
        s.sxy += x * y;
      }
    }
    all += s;
  }
  return all;
}

// Collects the correlations of one stretch of years.
class FiguresAccumulator {
 public:
  explicit FiguresAccumulator(int series) : member_(at(series + 1), 0) {}
  void add(double r, int i, int j) {
    sum_ += r;
    ++pairs_;
    member_[at(i)] = 1;
    member_[at(j)] = 1;
  }
  SignalFigures figures() const {
    const int series = static_cast<int>(std::count(member_.begin(), member_.end(), 1));
    return signal_figures(sum_, pairs_, series);
  }

 private:
  double sum_ = 0.0;
  int pairs_ = 0;
  std::vector<char> member_;  // by series number
};

}  // namespace

SignalFigures signal_figures(double correlation_sum, int pairs, int series) {
  SignalFigures f;
  f.series = series;
  f.pairs = pairs;
  if (pairs <= 0) return f;
  const double rbar = correlation_sum / pairs;
  const double n = series;
  f.rbar = rbar;
  if (const std::optional<double> den = one_plus((n - 1.0) * rbar)) f.eps = n * rbar / *den;
  if (const std::optional<double> den = one_plus(-rbar)) f.snr = n * rbar / *den;
  return f;
}

std::optional<double> subsample_signal_strength(int depth, int series, double rbar) {
  const double d = depth;
  const double n = series;
  const std::optional<double> den = one_plus((d - 1.0) * rbar);
  if (!den) return {};
  return d * (1.0 + (n - 1.0) * rbar) / (n * *den);
}

std::optional<int> reliable_from(const std::vector<std::optional<double>>& values) {
  std::size_t first = values.size();
  while (first > 0 && values[first - 1].has_value() && *values[first - 1] >= kSignalReliable) {
    --first;
  }
  if (first == values.size()) return {};
  return static_cast<int>(first);
}

SignalStrength signal_strength(const Grid<float>& by_year, int series_count, int time_span,
                               const std::vector<int>& sample_depth) {
  const int years = std::max(time_span, 0);
  // Only cells inside the grid are read, as for the chronology.
  const int rows = std::clamp(series_count, 0, by_year.rows());
  const int stored_years = std::min(years, by_year.cols());
  const int blocks = (stored_years + kBlock - 1) / kBlock;
  const int window_count =
      years >= kSignalWindowLength ? (years - kSignalWindowLength) / kSignalWindowLag + 1 : 0;

  std::vector<SeriesBlocks> series(at(rows + 1));
  int trees = 0;  // series with any value
  for (int i = 1; i <= rows; ++i) {
    series[at(i)] = summarize_series(by_year.row(i), stored_years, blocks);
    if (series[at(i)].first <= series[at(i)].last) ++trees;
  }

  FiguresAccumulator whole(rows);
  std::vector<FiguresAccumulator> windows(at(window_count), FiguresAccumulator(rows));
  std::vector<PairSums> block_sums(at(blocks));
  // The pairs are taken a tile of rows i at a time against every later row j, so that row j,
  // centered once, serves the whole tile from the cache.
  const std::size_t row_length = at(stored_years);
  std::vector<double> tile(at(kTileRows) * row_length);
  std::vector<double> other(row_length);
  for (int i0 = 1; i0 <= rows; i0 += kTileRows) {
    const int i1 = std::min(i0 + kTileRows - 1, rows);
    for (int i = i0; i <= i1; ++i) {
      center(by_year.row(i), series[at(i)], &tile[at(i - i0) * row_length]);
    }
    for (int j = i0 + 1; j <= rows; ++j) {
      const SeriesRow b{by_year.row(j), other.data(), &series[at(j)]};
      bool j_centered = false;
      for (int i = i0; i <= std::min(i1, j - 1); ++i) {
        const SeriesRow a{by_year.row(i), &tile[at(i - i0) * row_length], &series[at(i)]};
        const int lo = std::max(a.blocks->first, b.blocks->first);
        const int hi = std::min(a.blocks->last, b.blocks->last);
        if (hi - lo + 1 < kSignalMinCommonYears) continue;
        if (!j_centered) {
          center(b.raw, *b.blocks, other.data());
          j_centered = true;
        }
        const PairSums all = pair_block_sums(a, b, lo, hi, block_sums.data());
        if (const std::optional<double> r = correlation(all)) whole.add(*r, i, j);
        // Window k is blocks k and k + 1.
        const int b0 = (lo - 1) / kBlock;
        const int b1 = (hi - 1) / kBlock;
        const int k_last = std::min(b1, window_count - 1);
        for (int k = std::max(b0 - 1, 0); k <= k_last; ++k) {
          PairSums sums;
          if (k >= b0) sums += block_sums[at(k)];
          if (k + 1 <= b1) sums += block_sums[at(k + 1)];
          if (const std::optional<double> r = correlation(sums)) windows[at(k)].add(*r, i, j);
        }
      }
    }
  }

  SignalStrength result;
  result.whole = whole.figures();
  std::vector<std::optional<double>> window_eps;
  for (int k = 0; k < window_count; ++k) {
    SignalWindow w;
    w.first = k * kSignalWindowLag + 1;
    w.last = w.first + kSignalWindowLength - 1;
    w.figures = windows[at(k)].figures();
    window_eps.push_back(w.figures.eps);
    result.windows.push_back(w);
  }
  if (const std::optional<int> k = reliable_from(window_eps)) {
    result.eps_reliable_from = result.windows[at(*k)].first;
  }

  result.sss.assign(at(years), std::nullopt);
  if (result.whole.rbar) {
    for (int y = 1; y <= years; ++y) {
      const int depth = at(y - 1) < sample_depth.size() ? sample_depth[at(y - 1)] : 0;
      result.sss[at(y - 1)] = subsample_signal_strength(depth, trees, *result.whole.rbar);
    }
  }
  if (const std::optional<int> y = reliable_from(result.sss)) result.sss_reliable_from = *y + 1;
  return result;
}

}  // namespace kvr
