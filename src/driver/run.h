#pragma once

#include "driver/console.h"
#include "driver/file_system.h"
#include "plot/plotter.h"

namespace kvr {

/// Sets an environment variable (setenv, or a recorder in tests).
using EnvSetter = void (*)(const char* name, const char* value);

/// Exit statuses of a run.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitFailure = 1;

/// One whole analysis, from the banner to the closing pause. Returns the exit status.
int run_analysis(Console& console, Plotter& plotter, FileSystem& files, EnvSetter set_env);

}  // namespace kvr
