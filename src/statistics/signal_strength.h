#pragma once

#include <optional>
#include <vector>

#include "common/grid.h"
#include "statistics/pair_correlations.h"

namespace kvr {

/// EPS and SSS from this value up count as reliable.
inline constexpr double kSignalReliable = 0.85;

/// The signal figures of one stretch of years. rbar, EPS and SNR are empty without any pair,
/// and EPS or SNR also when its denominator vanishes (SNR at rbar = 1, EPS at rbar = -1 of two
/// series).
struct SignalFigures {
  int series = 0;  // n: series in at least one pair that entered rbar
  int pairs = 0;   // correlations that entered rbar
  std::optional<double> rbar;
  std::optional<double> eps;
  std::optional<double> snr;
};

/// One running window: calendar positions first..last (last = first + 49).
struct SignalWindow {
  int first = 0;
  int last = 0;
  SignalFigures figures;
};

/// The signal strength of a chronology. Positions are calendar positions (year index y).
struct SignalStrength {
  SignalFigures whole;                     // over every year of the chronology
  std::vector<SignalWindow> windows;       // in order; none for fewer than 50 years
  std::vector<std::optional<double>> sss;  // SSS per year index (element y - 1)
  std::optional<int> eps_reliable_from;    // first position of a window, if any
  std::optional<int> sss_reliable_from;    // a position, if any
};

/// rbar, EPS and SNR from the sum of `pairs` correlations among `series` series.
SignalFigures signal_figures(double correlation_sum, int pairs, int series);

/// Subsample signal strength of a year with sample depth `depth`, for `series` series and
/// the whole-chronology `rbar`; empty when the denominator vanishes (no series at rbar = 1).
std::optional<double> subsample_signal_strength(int depth, int series, double rbar);

/// The first index (from 0) from which every value is at least kSignalReliable, or empty
/// when the last value is not (an empty value never is).
std::optional<int> reliable_from(const std::vector<std::optional<double>>& values);

/// The signal strength of rows 1..series_count of `by_year` (calendar positions 1..time_span,
/// kMissing where a series has no value), each row one tree, with the chronology's sample
/// depth per year index. Pearson correlations in double precision. SSS counts the series that
/// hold any value.
SignalStrength signal_strength(const Grid<float>& by_year, int series_count, int time_span,
                               const std::vector<int>& sample_depth);

}  // namespace kvr
