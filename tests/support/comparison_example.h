#pragma once

// A small comparison of the rank and RCS chronologies, written out by hand, for the tests of
// its result tables and of its figure.

#include "statistics/rcs_comparison.h"

namespace kvr {

/// A curve of three ages (one without a value, one below 0) and the comparison over four
/// years, the rank chronology a year longer than the RCS one at each end:
///   age     1     2    3            year       1900  1901  1902  1903
///   n       2     0    1            rank       1.5   0.1   -     2.0    depth 1 3 0 2
///   mean    1.25  -    0.75         rank_res   -     0.9   -     1.1
///   curve   1.2   -    -0.01        rcs        .     0.8   1.2   .      depth 3 1
///                                   rcs_res    .     -     1.05  .
/// with r = 0.81234 over 291 years for rank vs RCS and none over 2 years for the residuals.
inline RcsComparison comparison_with_curve() {
  constexpr double NA = kNotAvailable;
  RcsComparison c;
  c.curve.series_by_age = {2, 0, 1};
  c.curve.mean_by_age = {1.25, NA, 0.75};
  c.curve.curve = {1.2, NA, -0.01};
  c.curve.stiffness = 10;
  c.curve.nonpositive_ages = 1;
  c.rank = {1900, {1.5, 0.1000000015, NA, 2.0}, {1, 3, 0, 2}};
  c.rank_residual = {1900, {NA, 0.9, NA, 1.1}, {0, 3, 0, 2}};
  c.rcs.indices = {1901, {0.8, 1.2}, {3, 1}};
  c.rcs.residuals = {1901, {NA, 1.05}, {0, 1}};
  c.rank_vs_rcs = {0.81234, 291};
  c.residuals = {{}, 2};
  return c;
}

}  // namespace kvr
