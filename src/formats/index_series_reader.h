#pragma once

#include "formats/series_read_call.h"

namespace kvr {

/// Reads the next series of index records (trrw mode "ir") in one call of trrw_read.
[[nodiscard]] TrrwStatus read_index_series(SeriesReadCall& call);

}  // namespace kvr
