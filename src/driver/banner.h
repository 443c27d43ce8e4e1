#pragma once

#include <string_view>

#include "io/console.h"

namespace kvr {

/// The version text printed in the banner (10 characters, its trailing blank included).
inline constexpr const char* kVersionText = "v27_plplt ";

/// Prints the start-up banner, from its first empty line to the empty line after the
/// attribution. `font_folder` is the PLplot font folder named in the requirements.
void print_banner(Console& console, std::string_view font_folder);

}  // namespace kvr
