#pragma once

#include "io/console.h"
#include "io/file_system.h"
#include "plot/plotter.h"

namespace kvr {

/// Sets an environment variable (setenv, or a recorder in tests).
using EnvSetter = void (*)(const char* name, const char* value);

/// Exit statuses of a run.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitFailure = 1;

/// One whole analysis, from the banner to the closing pause. Returns the exit status.
///
/// Once the input file name has been asked for, every end of the run, early ones included,
/// leaves KVRanswers.txt: the lines read from the console so far (Console::lines_read), so
/// that the run can be repeated from it. It is written last, after the last line is read;
/// when it cannot be written the run fails like for any result file. An input file that is
/// KVRanswers.txt itself is refused and left as it is.
int run_analysis(Console& console, Plotter& plotter, FileSystem& files, EnvSetter set_env);

}  // namespace kvr
