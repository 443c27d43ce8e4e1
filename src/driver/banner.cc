#include "driver/banner.h"

#include <string>

#include "common/dimensions.h"
#include "common/fixed_format.h"

namespace kvr {

void print_banner(Console& console, std::string_view font_folder) {
  console.line("");
  console.line(std::string(" Welcome to KVR (Varlem's Rank Dentrending Program) version ") +
               kVersionText);
  console.line(" This program implements the method described in:");
  console.line("");
  console.line(" K. Varlem (2017): Rank-based age standardization of tree-ring series,");
  console.line(" Journal of Tree-Ring Methods 12, 41-58.");
  console.line("");
  console.line(" Program Requirements:");
  console.line(" [1] A Tree-ring measurement file in decade format");
  console.line(" [2] User supplied Reference Age Class size (in years)");
  console.line(" [3] GMT 4.5 or greater (Unix version only)");
  console.line(std::string(" [3] PLplot font files in the folder named by PLPLOT_LIB, e.g. ") +
               std::string(font_folder));
  console.line("");
  console.line(" Current program dimensions are: ");
  console.line(" Maximum number of series : " + format_int(kMaxSeries, 5));
  console.line(" Maximum series/chronology length : " + format_int(kMaxPositions, 6));
  console.line("");
  console.line(" K.V., Tree-Ring Laboratory, 2017");
  console.line("");
}

}  // namespace kvr
