#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "results/comment_head.h"
#include "statistics/signal_strength.h"

namespace kvr {

/// "KVRsignal.txt", one table for R's read.table(f, header = TRUE, comment.char = "#") and
/// pandas' read_table(f, comment = "#"), tab separated, NA where a figure is missing:
///   # input file: <input name>
///   # <source lines>                            (CommentHead)
///   # run title: <run title>
///   # method: <correlation, 30 common years, windows of 50 lagged 25>
///   # whole chronology: rbar=0.4123 n=45 pairs=990 EPS=0.9693 SNR=31.52
///   # reliable from: EPS=1650 SSS=1642        (a year, or "never")
///   start middle end n pairs rbar EPS SNR     (one row per window)
/// rbar and EPS with 4 decimals, SNR with 2; years are first_year + position - 1.
void write_signal_file(std::ostream& out, const CommentHead& head, const SignalStrength& strength,
                       int first_year);

/// "KVRsss.txt": the comment head, then "year depth SSS", one row per year of the chronology,
/// SSS with 4 decimals (NA without rbar).
void write_sss_file(std::ostream& out, const CommentHead& head, const SignalStrength& strength,
                    const std::vector<int>& sample_depth, int first_year);

/// `v` with `decimals` decimals (correctly rounded), or NA.
std::string figure_text(const std::optional<double>& v, int decimals);

/// "whole chronology: rbar=0.4123 n=45 pairs=990 EPS=0.9693 SNR=31.52", as the signal file
/// and the console show it.
std::string whole_line(const SignalFigures& figures);

/// "reliable from: EPS=1650 SSS=1642" (a year, or "never").
std::string reliable_line(const SignalStrength& strength, int first_year);

}  // namespace kvr
