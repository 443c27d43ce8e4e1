#include "measurements/calendar_shift.h"

#include <algorithm>
#include <cassert>

#include "common/dimensions.h"

namespace kvr {

void shift_to_calendar(const MeasurementSet& set, Grid<float>* values) {
  const int series = std::min(set.count(), values->rows());
  const int cols = values->cols();
  if (cols == 0) return;
  for (int j = 1; j <= series; ++j) {
    const SeriesInfo& info = set.info(j);
    const int offset = info.start_position - 1;
    assert(offset >= 0);
    float* row = values->row(j);
    // From the last position down: a ring moves to a position at or after its own, so each
    // is read before it is overwritten.
    for (int p = cols; p >= 1; --p) {
      const int ring = p - offset;
      row[p - 1] = ring >= 1 && ring <= info.length ? row[ring - 1] : kMissing;
    }
  }
  for (int j = series + 1; j <= values->rows(); ++j) std::fill_n(values->row(j), cols, kMissing);
}

}  // namespace kvr
