#pragma once

namespace kvr {

/// The positions (years or ages) at which one series may have a value, first..last.
struct PositionSpan {
  int first = 0;
  int last = -1;
};

}  // namespace kvr
