#include "standardize/rankcls.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>

#include "common/dimensions.h"
#include "common/parallel.h"
#include "measurements/calendar_shift.h"

namespace kvr {
namespace {

// An unsigned key that orders floats as operator< does: -0 and +0 get the same key, negative
// values are mirrored below the positive ones. (A NaN, which no reader produces, gets a key
// above +inf or below -inf, so the sort stays well defined.)
std::uint32_t order_key(float v) {
  if (v == 0.0f) v = 0.0f;
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(v);
  return (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
}

// Sorts the keys ascending. An LSD radix sort by bytes, which passes over the bytes that all
// keys share (the upper bytes of the scan place, often the top byte of the value); short lists
// go to std::sort.
void sort_keys(std::vector<std::uint64_t>* keys, std::vector<std::uint64_t>* scratch) {
  const std::size_t n = keys->size();
  if (n < 4096) {
    std::sort(keys->begin(), keys->end());
    return;
  }
  constexpr int kBytes = 8;
  std::array<std::array<std::size_t, 256>, kBytes> counts{};
  for (const std::uint64_t key : *keys) {
    for (int b = 0; b < kBytes; ++b) ++counts[static_cast<std::size_t>(b)][(key >> (8 * b)) & 0xff];
  }
  scratch->resize(n);
  std::uint64_t* from = keys->data();
  std::uint64_t* to = scratch->data();
  for (int b = 0; b < kBytes; ++b) {
    std::array<std::size_t, 256>& count = counts[static_cast<std::size_t>(b)];
    if (count[(from[0] >> (8 * b)) & 0xff] == n) continue;
    std::size_t offset = 0;
    for (std::size_t& c : count) {
      const std::size_t here = c;
      c = offset;
      offset += here;
    }
    for (std::size_t t = 0; t < n; ++t) {
      const std::uint64_t key = from[t];
      to[count[(key >> (8 * b)) & 0xff]++] = key;
    }
    std::swap(from, to);
  }
  if (from != keys->data()) keys->swap(*scratch);
}

// Stored positions first..last of class `c` (empty when first > last).
int first_stored(const AgeClass& c) { return std::max(c.start, 1); }
int last_stored(const AgeClass& c, int cols) { return std::min(c.end, cols); }

}  // namespace

namespace {

// Whether the classes' stored positions follow one another without overlap: then each class
// ranks cells of its own, and the classes may be ranked on both cores.
bool classes_apart(const AgeClassTable& table, int cols) {
  int last = 0;
  for (int k = 1; k <= table.count(); ++k) {
    const AgeClass& c = table.at(k);
    if (first_stored(c) > last_stored(c, cols)) continue;
    if (first_stored(c) <= last) return false;
    last = last_stored(c, cols);
  }
  return true;
}

// The work arrays of one worker.
struct ClassKeys {
  std::vector<std::uint64_t> keys;
  std::vector<std::uint64_t> scratch;
};

}  // namespace

void rankcls(const Grid<float>& values, int series_count, const AgeClassTable& table,
             ClassRanks* result) {
  result->ranks.reset(values.rows(), values.cols(), 0);
  result->class_counts.assign(static_cast<std::size_t>(table.count()), 0);
  result->rac_count = 0;
  const int series = std::clamp(series_count, 0, values.rows());
  const int cols = values.cols();
  // The scan order of a class is position first, then series. Each measurement is keyed by
  // its value (high half) and its place in that scan (low half); sorting the keys gives the
  // ranks, with equal values in scan order, in O(n log n) (linear with the radix sort).
  assert(static_cast<long long>(series) * cols <= 0xffffffffLL);
  std::vector<ClassKeys> workers(static_cast<std::size_t>(kWorkers));
  auto rank_class = [&](int index, int worker) {
    const int k = index + 1;
    std::vector<std::uint64_t>& keys = workers[static_cast<std::size_t>(worker)].keys;
    const AgeClass& c = table.at(k);
    const int first = first_stored(c);
    const int last = last_stored(c, cols);
    keys.clear();
    for (int i = 1; i <= series && first <= last; ++i) {
      const float* row = values.row(i);
      for (int j = first; j <= last; ++j) {
        const float v = row[j - 1];
        if (is_missing(v)) continue;
        const std::uint64_t scan =
            static_cast<std::uint64_t>(j - first) * static_cast<std::uint64_t>(series) +
            static_cast<std::uint64_t>(i - 1);
        keys.push_back(static_cast<std::uint64_t>(order_key(v)) << 32 | scan);
      }
    }
    const int n = static_cast<int>(keys.size());
    result->class_counts[static_cast<std::size_t>(k - 1)] = n;
    if (k == table.rac_index) result->rac_count = n;
    if (n == 0) return;  // counted by empty_classes()
    sort_keys(&keys, &workers[static_cast<std::size_t>(worker)].scratch);
    for (int t = 1; t <= n; ++t) {
      const std::uint64_t scan = keys[static_cast<std::size_t>(t - 1)] & 0xffffffffu;
      const int j = first + static_cast<int>(scan / static_cast<std::uint64_t>(series));
      const int i = 1 + static_cast<int>(scan % static_cast<std::uint64_t>(series));
      result->ranks(i, j) = t;
    }
  };
  // Classes that overlap rank in order, so that the later class's rank of a shared cell stays.
  const auto cells = static_cast<std::size_t>(series) * static_cast<std::size_t>(cols);
  share_out(table.count(), classes_apart(table, cols) ? cells : 0, rank_class);
}

int empty_classes(const ClassRanks& ranks) {
  return static_cast<int>(std::count(ranks.class_counts.begin(), ranks.class_counts.end(), 0));
}

int mapped_rank(int rank, int n, int m) {
  if (n == m) return rank;
  // A class without measurements has no ranks to map.
  if (n == 0) return 0;
  const double q = (static_cast<double>(rank) - (0.5 * n + 0.5)) * m / n + 0.5 * m + 0.5;
  // Rounded to single precision first, then to the nearest integer, halves away from zero.
  return static_cast<int>(std::lround(static_cast<float>(q)));
}

void replace_by_rac(const Grid<float>& values, const ClassRanks& ranks, const AgeClassTable& table,
                    const MeasurementSet& set, bool age_aligned, Grid<float>* standardized) {
  // The three grids share one shape; should they not, only the common part is touched.
  const int series =
      std::min({set.count(), values.rows(), ranks.ranks.rows(), standardized->rows()});
  const int cols = std::min({values.cols(), ranks.ranks.cols(), standardized->cols()});

  // The class of every stored position (0: none). Built from the last class down, so that a
  // position claimed by two classes goes to the lower-numbered one.
  std::vector<int> class_of(static_cast<std::size_t>(cols) + 1, 0);
  for (int k = table.count(); k >= 1; --k) {
    const AgeClass& c = table.at(k);
    for (int j = first_stored(c); j <= last_stored(c, cols); ++j) {
      class_of[static_cast<std::size_t>(j)] = k;
    }
  }

  // RAC value by RAC rank; missing for ranks that no RAC cell carries. Should two cells of
  // the RAC block carry one rank, the later one in scan order (position, then series) counts.
  std::vector<float> rac_value(static_cast<std::size_t>(std::max(ranks.rac_count, 0)) + 1,
                               kMissing);
  auto record = [&](int i, int j) {
    const int r = ranks.ranks(i, j);
    if (r <= 0) return;
    if (static_cast<std::size_t>(r) >= rac_value.size()) {
      rac_value.resize(static_cast<std::size_t>(r) + 1, kMissing);
    }
    rac_value[static_cast<std::size_t>(r)] = values(i, j);
  };
  const AgeClass rac{table.rac_start, table.rac_end};
  const bool rac_is_class = table.rac_index >= 1 && table.rac_index <= table.count() &&
                            table.at(table.rac_index).start == rac.start &&
                            table.at(table.rac_index).end == rac.end;
  if (rac_is_class) {
    // The ranks of one class are distinct, so the order of the walk does not matter: walk
    // each series' row, which is contiguous.
    for (int i = 1; i <= series; ++i) {
      for (int j = first_stored(rac); j <= last_stored(rac, cols); ++j) record(i, j);
    }
  } else {
    for (int j = first_stored(rac); j <= last_stored(rac, cols); ++j) {
      for (int i = 1; i <= series; ++i) record(i, j);
    }
  }

  const int m = ranks.rac_count;
  for (int i = 1; i <= series; ++i) {
    const SeriesInfo& info = set.info(i);
    const int span_first = age_aligned ? 1 : info.start_position;
    const int first = std::max(span_first, 1);
    const int last = std::min(span_first + info.length - 1, cols);
    for (int j = first; j <= last; ++j) {
      const int k = class_of[static_cast<std::size_t>(j)];
      if (k == 0 || static_cast<std::size_t>(k) > ranks.class_counts.size()) continue;
      const int n = ranks.class_counts[static_cast<std::size_t>(k - 1)];
      if (n == 0) continue;
      const int mapped = mapped_rank(ranks.ranks(i, j), n, m);
      if (mapped >= 1 && static_cast<std::size_t>(mapped) < rac_value.size()) {
        (*standardized)(i, j) = rac_value[static_cast<std::size_t>(mapped)];
      }
    }
  }
}

RankStandardized rank_standardize(const MeasurementSet& set, const AgeClassTable& table,
                                  bool age_aligned) {
  RankStandardized result;
  result.by_year.reset(set.count(), set.values.cols(), kMissing);
  {
    ClassRanks ranks;
    rankcls(set.values, set.count(), table, &ranks);
    result.empty_classes = empty_classes(ranks);
    replace_by_rac(set.values, ranks, table, set, age_aligned, &result.by_year);
  }
  if (age_aligned) shift_to_calendar(set, &result.by_year);
  return result;
}

}  // namespace kvr
