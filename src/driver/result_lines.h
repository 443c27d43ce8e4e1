#pragma once

#include <string>
#include <vector>

#include "results/modeled_files.h"
#include "statistics/signal_strength.h"

namespace kvr {

/// The warnings that name the adjusted years, each after an empty line: one for the values
/// written as the filler, one for the capped depths; none for a kind without such years.
std::vector<std::string> crn_warning_lines(const CrnAdjustments& adjusted);

/// The lines the run shows once the chronology is computed: the whole-chronology figures and
/// the two reliable-from years.
std::vector<std::string> signal_screen_lines(const SignalStrength& strength, int first_year);

}  // namespace kvr
