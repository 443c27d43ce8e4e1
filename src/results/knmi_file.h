#pragma once

#include <iosfwd>
#include <string>

#include "standardize/chronology.h"

namespace kvr {

/// "KVRchron_KNMI.txt": three header lines and the chronology repeated for twelve months;
/// years without a chronology value are written as -999.9.
void write_knmi(std::ostream& out, const std::string& input_name, const std::string& run_title,
                bool age_aligned, const Chronology& chronology, int earliest_first_year);

}  // namespace kvr
