#include "driver/alignment.h"

#include <utility>

#include "common/dimensions.h"

namespace kvr {

void shift_to_calendar(MeasurementSet* set, Grid<float>* scratch) {
  for (int j = 1; j <= set->count(); ++j) {
    const SeriesInfo& info = set->info(j);
    for (int i = 1; i <= info.length; ++i) {
      (*scratch)(j, info.start_position + i - 1) = set->values(j, i);
    }
  }
  std::swap(set->values, *scratch);
  scratch->fill(kMissing);
}

}  // namespace kvr
