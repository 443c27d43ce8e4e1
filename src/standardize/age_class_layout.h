#pragma once

#include <vector>

#include "standardize/age_class_table.h"

namespace kvr {

/// The Age Classes of a fixed size: positions 1..size, size + 1..2 size, and so on, as many as
/// it takes to cover positions 1..length; the last class may end beyond `length` (it
/// overruns). None when length < 1. `size` must be at least 1.
std::vector<AgeClass> fixed_size_classes(int length, int size);

/// The layout around a Reference Age Class over positions rac_start..rac_end (1 <= rac_start
/// < rac_end): classes of the RAC's size laid out downwards from rac_start - 1, the lowest cut
/// at position 1, and upwards from rac_end + 1, the highest cut at `length`. The RAC's own end
/// may lie beyond `length`. Fills the classes, the class size and the RAC's index and bounds.
AgeClassTable rac_bounds_layout(int rac_start, int rac_end, int length);

}  // namespace kvr
