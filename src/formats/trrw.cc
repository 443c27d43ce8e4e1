#include "formats/trrw.h"

#include "formats/index_series_reader.h"
#include "formats/measurement_series_reader.h"
#include "formats/series_read_call.h"

namespace kvr {

TrrwStatus trrw_read(LineReader& in, ReadMode mode, int max_length, TrrwSeries* series,
                     TrrwReadState* state) {
  SeriesReadCall call(in, mode, max_length, series, state);
  return mode == ReadMode::kIndex ? read_index_series(call) : read_measurement_series(call);
}

}  // namespace kvr
