#pragma once

// Measurement series of a decade-format text in the double-precision form the statistics
// take, read through the decade reader and joined as the program joins them.

#include <istream>
#include <vector>

#include "measurements/measured_series.h"

namespace kvr::test {

/// Every series of the text as the program assembles them (an id that comes back joins its
/// earlier series), ids without trailing blanks, values in mm: the reader's single-precision
/// value turned back into the file's integer in 0.001 mm (exact for the values of these files)
/// times 0.001; NaN where the reader has none.
std::vector<MeasuredSeries> read_measured_series(std::istream& in);

}  // namespace kvr::test
