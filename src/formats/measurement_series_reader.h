#pragma once

#include "formats/series_read_call.h"

namespace kvr {

/// Reads the next series of measurement records (trrw mode "mr") in one call of trrw_read,
/// mending the habits of real files as trrw_read describes.
[[nodiscard]] TrrwStatus read_measurement_series(SeriesReadCall& call);

}  // namespace kvr
