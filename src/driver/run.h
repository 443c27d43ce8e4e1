#pragma once

#include <string_view>

#include "io/console.h"
#include "io/file_system.h"
#include "plot/plotter.h"

namespace kvr {

/// Exit statuses of a run.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitFailure = 1;

/// One whole analysis, from the banner to the closing pause, in fixed steps: open, read,
/// summarize, plot or transform, align, Age Classes, standardize, chronology, write. A step
/// that ends the run early says why and the run returns kExitFailure. `font_folder` is the
/// PLplot font folder in force, which the banner names.
///
/// Once the input file name has been asked for, every end of the run, early ones included,
/// leaves KVRanswers.txt: the lines read from the console so far (Console::lines_read), so
/// that the run can be repeated from it. It is written last, after the last line is read;
/// when it cannot be written the run fails like for any result file. An input file that is
/// KVRanswers.txt itself is refused and left as it is.
int run_analysis(Console& console, Plotter& plotter, FileSystem& files,
                 std::string_view font_folder);

}  // namespace kvr
