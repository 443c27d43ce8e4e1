#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "numeric/radix_sort.h"
#include "measurements/measured_series.h"

namespace kvr {

/// What the series report says of one series; NaN (or empty) where a figure does not exist.
struct SeriesFigures {
  std::string id{};
  int values = 0;  // values present; first, last and years are 0 without any
  int first = 0;   // years of the first and the last value
  int last = 0;
  int years = 0;  // last - first + 1
  double mean = kNotAvailable;
  double median = kNotAvailable;
  double stdev = kNotAvailable;
  double skew = kNotAvailable;
  double kurtosis = kNotAvailable;  // excess kurtosis
  double gini = kNotAvailable;
  double ar1 = kNotAvailable;
  double sens1 = kNotAvailable;
  std::optional<int> ar_order{};  // of the mean-scaled series, when it is prewhitened
  double intercor = kNotAvailable;
  double intercor_p = kNotAvailable;
};

/// Work arrays of describe_series, kept by a caller that describes many series.
struct SeriesFiguresWorkspace {
  std::vector<double> values;  // the last series' values, its gaps closed
  std::vector<double> sorted;
  RadixSortWorkspace radix;
};

/// The descriptive figures of one series alone (id to sens1; the rest stays empty), from its
/// values with the gaps closed, which it leaves in workspace->values. A constant series has no
/// skew, kurtosis or ar1; a series of zeros only no gini either.
[[nodiscard]] SeriesFigures describe_series(const MeasuredSeries& series,
                                            SeriesFiguresWorkspace* workspace);

}  // namespace kvr
