#pragma once

#include <span>
#include <string_view>

#include "common/grid.h"
#include "io/console.h"
#include "measurements/measurement_set.h"
#include "plot/plot_context.h"
#include "plot/plot_loop.h"

namespace kvr {

/// The chronology as its plot reads it, by calendar position p = 1 .. time span (element
/// p - 1 of each column); positions beyond a column's end count as missing (depth 0).
struct ChronologyColumns {
  std::span<const float> robust_mean;  // "RobM"; kMissing when the year has no value
  std::span<const float> upper_band;   // "+2(se)", or kMissing
  std::span<const float> lower_band;   // "-2(se)", or kMissing
  std::span<const int> sample_depth;
  float average = 0.0f;  // "Ave"
};

/// The chronology page inside the plot loop, saved as "KVR_fig2.ps": the standardized
/// series of `by_year` (calendar positions) above; the chronology as a thick line, its
/// average, the dashed +-2 SE band and the sample depth below. Years with a negative or
/// missing chronology value, and years without a band, are left out of their lines, which
/// join across them. A save saves the pages of `saved_with` too. Returns kEndOfInput when the
/// console ended at the menu.
[[nodiscard]] Answer plot_chronology(PlotContext& context, const MeasurementSet& set,
                                     const Grid<float>& by_year, std::string_view title,
                                     int plot_kind, const ChronologyColumns& chronology,
                                     std::span<const SavedPage> saved_with = {});

}  // namespace kvr
