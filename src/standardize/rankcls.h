#pragma once

#include <string>
#include <vector>

#include "common/grid.h"
#include "measurements/measurement_set.h"
#include "standardize/age_class_table.h"

namespace kvr {

/// Ranks of the measurements inside their Age Classes.
struct ClassRanks {
  Grid<int> ranks;                // same shape as the value grid; 0 = no measurement
  std::vector<int> class_counts;  // class_counts[k - 1] = measurements in class k
  int rac_count = 0;              // measurements in the RAC
};

/// Ranks every non-missing value of series 1..series_count inside its class: 1 = smallest,
/// ties broken by scan order (lower position first, then lower series).
void rankcls(const Grid<float>& values, int series_count, const AgeClassTable& table,
             ClassRanks* result);

/// The number of classes without measurements.
int empty_classes(const ClassRanks& ranks);

/// The RAC rank that rank `rank` of a class of n measurements maps to, for a RAC of m:
/// q = (rank - (0.5 n + 0.5)) m / n + 0.5 m + 0.5 in double, rounded to single precision, then
/// to the nearest integer with halves away from zero. n = m gives `rank` itself; n = 0 (a class
/// without measurements) gives 0.
int mapped_rank(int rank, int n, int m);

/// Replaces each value of each series' span (ring positions 1..length when age aligned,
/// calendar positions start..start + length - 1 otherwise) by the RAC value of the mapped
/// rank. `standardized` must hold kMissing everywhere on entry and has the values' shape.
/// Missing cells inside a span, cells of a class without measurements, and cells whose mapped
/// rank no RAC cell carries, stay kMissing; positions beyond the grid's columns are neither read
/// nor written.
void replace_by_rac(const Grid<float>& values, const ClassRanks& ranks, const AgeClassTable& table,
                    const MeasurementSet& set, bool age_aligned, Grid<float>* standardized);

/// The standardized values by calendar position, and the number of classes without
/// measurements (the console names each).
struct RankStandardized {
  Grid<float> by_year;
  int empty_classes = 0;
};

/// Rank standardization of the set's values (by ring number when age aligned, by calendar
/// position otherwise): rankcls, then replace_by_rac into a grid of the values' shape.
RankStandardized rank_standardize(const MeasurementSet& set, const AgeClassTable& table,
                                  bool age_aligned);

}  // namespace kvr
