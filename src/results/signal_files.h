#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "statistics/signal_strength.h"

namespace kvr {

/// "KVRsignal.txt", one table for R's read.table(f, header = TRUE, comment.char = "#") and
/// pandas' read_table(f, comment = "#"), tab separated, NA where a figure is missing:
///   # input file: <input name>
///   # run title: <run title>
///   # method: <correlation, 30 common years, windows of 50 lagged 25>
///   # whole chronology: rbar=0.4123 n=45 pairs=990 EPS=0.9693 SNR=31.52
///   # reliable from: EPS=1650 SSS=1642        (a year, or "never")
///   start middle end n pairs rbar EPS SNR     (one row per window)
/// rbar and EPS with 4 decimals, SNR with 2; years are first_year + position - 1.
void write_signal_file(std::ostream& out, const std::string& input_name,
                       const std::string& run_title, const SignalStrength& strength,
                       int first_year);

/// "KVRsss.txt": the input name and run title as comments, then "year depth SSS", one row per
/// year of the chronology, SSS with 4 decimals (NA without rbar).
void write_sss_file(std::ostream& out, const std::string& input_name, const std::string& run_title,
                    const SignalStrength& strength, const std::vector<int>& sample_depth,
                    int first_year);

/// The lines the run shows once the chronology is computed: the whole-chronology figures and
/// the two reliable-from years.
std::vector<std::string> signal_screen_lines(const SignalStrength& strength, int first_year);

}  // namespace kvr
