#pragma once

#include <filesystem>

namespace kvr::bench {

/// Runs the analysis steps of a calendar-aligned run with class size 100 and RAC 1 on
/// `input` in-process, and prints the time of each step and the std::sort floor. Result files
/// go into `folder`.
void time_phases(const std::filesystem::path& input, const std::filesystem::path& folder);

/// Reads `input` as the run reads its input file and returns the seconds it took.
double time_reading(const std::filesystem::path& input);

/// Times the fast ranking and replacement against the step-by-step reference on a mid-sized
/// input.
void time_reference_ranking();

}  // namespace kvr::bench
