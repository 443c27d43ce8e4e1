#pragma once

#include <iosfwd>

#include "data/measurement_set.h"

namespace kvr {

/// Prints the framed summary block with the optimum common interval. Returns false when the
/// series count exceeds the summary's limit (the limit messages have been printed and the run
/// must end).
[[nodiscard]] bool print_summary(std::ostream& out, const MeasurementSet& set);

}  // namespace kvr
