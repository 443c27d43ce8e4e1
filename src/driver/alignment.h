#pragma once

#include "common/grid.h"
#include "data/measurement_set.h"

namespace kvr {

/// Calendar alignment: moves every series' ring i to position start position + i - 1, so that
/// position p holds the value of year earliest first year + p - 1. `scratch` has the shape of
/// the value grid and holds kMissing everywhere, before and after.
void shift_to_calendar(MeasurementSet* set, Grid<float>* scratch);

}  // namespace kvr
