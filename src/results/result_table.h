#pragma once

#include <iosfwd>
#include <string>

#include "common/grid.h"
#include "measurements/measurement_set.h"
#include "standardize/chronology.h"

namespace kvr {

/// The result table: two header lines, the column row (a series' id padded to 8 characters,
/// a longer id whole) and one row per year.
void write_result_table(std::ostream& out, const MeasurementSet& set, const Grid<float>& by_year,
                        const Chronology& chronology, bool age_aligned,
                        const std::string& run_title);

}  // namespace kvr
