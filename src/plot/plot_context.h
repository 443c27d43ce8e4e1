#pragma once

#include "io/console.h"
#include "io/file_system.h"
#include "plot/plotter.h"

namespace kvr {

/// What a plot routine needs of the run: the console for the options menu, PLplot, and the
/// file system to check that each figure file can be created before PLplot tries.
struct PlotContext {
  Console& console;
  Plotter& plotter;
  FileSystem& files;
};

}  // namespace kvr
