#include "formats/trrw.h"

#include "formats/measurement_series_reader.h"
#include "formats/series_builder.h"

namespace kvr {

SeriesRead SeriesReader::next() {
  SeriesBuilder builder(in_, max_length_);
  builder.series().first_line = previous_first_line_;
  SeriesRead read = read_measurement_series(builder);
  previous_first_line_ = read.series.first_line;
  return read;
}

}  // namespace kvr
