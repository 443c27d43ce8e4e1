#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kvr {

/// The zeros that follow the deviations handed to autocovariances beside max_lag more, so
/// that every lag of a sweep can run to the end of the series.
inline constexpr std::size_t kAutocovarianceZeros = 48;

/// The autocovariances r_0..r_max_lag of the deviations d_1..d_n (max_lag < n), which `padded`
/// holds followed by max_lag + kAutocovarianceZeros zeros: r_k = (1/n) sum_{t=1}^{n-k} d_t
/// d_{t+k}, each sum added in the order of t. Many lags are summed in one sweep over the
/// series, one lag to a vector lane, with the widest vector unit of the machine (AVX-512, AVX2
/// or the baseline's pairs); each lane keeps its own order of additions, so the results are
/// the same to the bit on every machine.
[[nodiscard]] std::vector<double> autocovariances(std::span<const double> padded, std::size_t n,
                                                  std::size_t max_lag);

}  // namespace kvr
