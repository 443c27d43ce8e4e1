#pragma once

#include <string>
#include <vector>

#include "results/modeled_files.h"
#include "results/result_files.h"
#include "statistics/signal_strength.h"

namespace kvr {

/// The warnings that name the adjusted years, each after an empty line: one for the values
/// written as the filler, one for the capped depths; none for a kind without such years.
std::vector<std::string> crn_warning_lines(const CrnAdjustments& adjusted);

/// The warning of each id that KVRmodeled.raw holds cut, the same as another id cut, after an
/// empty line: ` Warning: the ids "PINE_NORTH_01" and "PINE_NORTH_02" are both written as
/// "PINE_NOR" in KVRmodeled.raw, whose records hold 8 characters of an id.`
std::vector<std::string> same_cut_id_lines(const std::vector<SameCutId>& ids);

/// Every warning of what a writer had to change in its file: the crn's, then the cut ids.
std::vector<std::string> adjustment_lines(const FileAdjustments& adjusted);

/// The lines the run shows once the chronology is computed: the whole-chronology figures and
/// the two reliable-from years.
std::vector<std::string> signal_screen_lines(const SignalStrength& strength, int first_year);

}  // namespace kvr
