#pragma once

#include <string>

namespace kvr {

/// PLplot finds its fonts through the environment variable PLPLOT_LIB. A folder the user has
/// set there is kept; otherwise PLPLOT_LIB is set to the font folder of the PLplot this
/// program was built with. Returns the folder in force. Called once, before PLplot starts.
std::string set_up_plplot_fonts();

}  // namespace kvr
