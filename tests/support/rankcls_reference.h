#pragma once

// A plain transcription of the step-by-step ranking and RAC look-up: quadratic in the class
// size, kept only as the yardstick that rankcls and replace_by_rac are tested (and timed)
// against. Not used by the program.

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

#include "common/dimensions.h"
#include "common/grid.h"
#include "dirsort.h"
#include "measurements/measurement_set.h"
#include "standardize/age_class_table.h"
#include "standardize/rankcls.h"

namespace kvr {

/// Ranks as the step-by-step scan does: per class, the non-missing values in scan order
/// (position ascending, then series ascending) are sorted with dirsort; rank t goes to the
/// first cell in scan order, not yet ranked, whose value equals the t-th sorted value.
/// Positions beyond the grid's columns hold no measurements and are not read.
inline void rankcls_reference(const Grid<float>& values, int series_count,
                              const AgeClassTable& table, ClassRanks* result,
                              std::ostream& messages) {
  const int cols = values.cols();
  result->ranks.reset(values.rows(), values.cols(), 0);
  Grid<std::int16_t> assigned(values.rows(), values.cols(), 0);
  result->class_counts.assign(static_cast<std::size_t>(table.count()), 0);
  result->rac_count = 0;
  std::vector<float> sort_list;
  for (int k = 1; k <= table.count(); ++k) {
    const int start = table.at(k).start;
    const int end = table.at(k).end < cols ? table.at(k).end : cols;
    sort_list.clear();
    for (int j = start; j <= end; ++j) {
      for (int i = 1; i <= series_count; ++i) {
        if (values(i, j) != kMissing) sort_list.push_back(values(i, j));
      }
    }
    const int n = static_cast<int>(sort_list.size());
    result->class_counts[static_cast<std::size_t>(k - 1)] = n;
    if (k == table.rac_index) result->rac_count = n;
    dirsort(sort_list.data(), nullptr, n, 1, messages);
    for (int t = 1; t <= n; ++t) {
      const float v = sort_list[static_cast<std::size_t>(t - 1)];
      bool found = false;
      for (int j = start; j <= end && !found; ++j) {
        for (int i = 1; i <= series_count && !found; ++i) {
          if (values(i, j) == v && assigned(i, j) == 0) {
            result->ranks(i, j) = t;
            assigned(i, j) = 1;
            found = true;
          }
        }
      }
    }
  }
}

/// Replacement as the step-by-step look-up does: for each cell of each series' span, the
/// class is found by trying classes 1..K in order, the rank is mapped, and the whole RAC
/// block is scanned for a cell carrying the mapped rank.
inline void replace_by_rac_reference(const Grid<float>& values, const ClassRanks& ranks,
                                     const AgeClassTable& table, const MeasurementSet& set,
                                     bool age_aligned, Grid<float>* standardized) {
  const int cols = values.cols();
  const int m = ranks.rac_count;
  const int rac_end = table.rac_end < cols ? table.rac_end : cols;
  for (int i = 1; i <= set.count(); ++i) {
    const SeriesInfo& info = set.info(i);
    const int first = age_aligned ? 1 : info.start_position;
    const int last = first + info.length - 1 < cols ? first + info.length - 1 : cols;
    for (int j = first; j <= last; ++j) {
      int k = 0;
      for (int c = 1; c <= table.count(); ++c) {
        if (table.at(c).start <= j && j <= table.at(c).end) {
          k = c;
          break;
        }
      }
      if (k == 0) continue;
      const int n = ranks.class_counts[static_cast<std::size_t>(k - 1)];
      if (n == 0) continue;
      const int rho = ranks.ranks(i, j);
      int mapped = rho;
      if (n != m) {
        const double q = (static_cast<double>(rho) - (0.5 * n + 0.5)) * m / n + 0.5 * m + 0.5;
        const double single = static_cast<float>(q);
        mapped = static_cast<int>(single >= 0 ? std::floor(single + 0.5) : std::ceil(single - 0.5));
      }
      for (int jr = table.rac_start; jr <= rac_end; ++jr) {
        for (int ir = 1; ir <= set.count(); ++ir) {
          if (ranks.ranks(ir, jr) == mapped) (*standardized)(i, j) = values(ir, jr);
        }
      }
    }
  }
}

}  // namespace kvr
