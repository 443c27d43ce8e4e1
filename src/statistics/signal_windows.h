#pragma once

namespace kvr {

/// Pairs of series enter the signal figures when they share at least this many years with a
/// value (within the window, for the running figures).
inline constexpr int kSignalMinCommonYears = 30;
/// Running windows: this many years long, each starting kSignalWindowLag years after the one
/// before.
inline constexpr int kSignalWindowLength = 50;
inline constexpr int kSignalWindowLag = 25;

}  // namespace kvr
