#include "plot/plplot_fonts.h"

#include <cstdlib>

namespace kvr {

std::string set_up_plplot_fonts() {
  const char* chosen = std::getenv("PLPLOT_LIB");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  ::setenv("PLPLOT_LIB", KVR_PLPLOT_LIB, 1);
  return KVR_PLPLOT_LIB;
}

}  // namespace kvr
