#pragma once

#include "data/measurement_set.h"

namespace kvr {

/// Transforms positions 1..length of every series in place and sets *mean_power. Returns
/// false when the transformation fails (a value that is not finite); the values may then be
/// partly transformed and the run must end without results.
[[nodiscard]] bool power_transform(MeasurementSet* set, float* mean_power);

}  // namespace kvr
