#pragma once

namespace kvr {

/// Limits of one run: series in the measurement set, values per series (also the longest
/// chronology and the widest calendar span) and Age Classes.
inline constexpr int kMaxSeries = 1001;
inline constexpr int kMaxPositions = 10001;
inline constexpr int kMaxAgeClasses = 250;

/// The missing value of every value matrix and chronology array, recognised by exact equality.
inline constexpr float kMissing = -99.99f;

inline bool is_missing(float v) { return v == kMissing; }

}  // namespace kvr
