#pragma once

#include <iosfwd>
#include <string>

#include "common/grid.h"
#include "measurements/measurement_set.h"
#include "standardize/chronology.h"

namespace kvr {

/// Free-form items of the result table and the KNMI file: an integer right-aligned in 12
/// columns; a real with six significant digits, in fixed form in 11 columns when
/// 0.1 <= |x| < 1e6 after rounding, else in exponent form in 15 columns.
std::string list_int(long long v);
std::string list_real(float v);

/// The result table: two header lines, the column row and one row per year.
void write_result_table(std::ostream& out, const MeasurementSet& set, const Grid<float>& by_year,
                        const Chronology& chronology, bool age_aligned,
                        const std::string& run_title);

/// "KVRchron_KNMI.txt": three header lines and the chronology repeated for twelve months;
/// years without a chronology value are written as -999.9.
void write_knmi(std::ostream& out, const std::string& input_name, const std::string& run_title,
                bool age_aligned, const Chronology& chronology, int earliest_first_year);

}  // namespace kvr
