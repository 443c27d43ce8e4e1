#pragma once

#include "common/grid.h"
#include "measurements/measurement_set.h"

namespace kvr {

/// Moves the values of each series of `set` from ring positions (value i is the i-th ring) to
/// calendar positions (value i at position start position + i - 1, so that position p holds
/// the year earliest first year + p - 1), in place. Row j of `values` is series j. Positions
/// that no ring reaches, rows beyond the set's series, and rings beyond the grid's columns end
/// as kMissing.
void shift_to_calendar(const MeasurementSet& set, Grid<float>* values);

}  // namespace kvr
