#include "measured_series_reading.h"

#include <cmath>
#include <limits>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "measurements/series_assembly.h"
#include "decade_reading.h"

namespace kvr::test {

std::vector<MeasuredSeries> read_measured_series(std::istream& in) {
  std::vector<MeasuredSeries> all;
  SeriesAssembly assembly(kMaxPositions);
  for (const TrrwSeries& read : read_decade(in).series) assembly.add(read);
  assembly.finish();
  for (const TrrwSeries& read : assembly.series()) {
    MeasuredSeries series{trim_right(read.id), read.first_year, {}};
    for (int i = 0; i < read.count && i < static_cast<int>(read.values.size()); ++i) {
      const float v = read.values[static_cast<std::size_t>(i)];
      series.mm.push_back(is_missing(v)
                              ? std::numeric_limits<double>::quiet_NaN()
                              : static_cast<double>(std::llround(static_cast<double>(v) * 1000.0)) *
                                    0.001);
    }
    all.push_back(std::move(series));
  }
  return all;
}

}  // namespace kvr::test
