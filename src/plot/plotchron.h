#pragma once

#include <string_view>

#include "common/grid.h"
#include "io/console.h"
#include "measurements/measurement_set.h"
#include "plot/plot_context.h"
#include "plot/plot_loop.h"
#include "standardize/chronology.h"

namespace kvr {

/// The chronology plot (standardized series above; chronology, its mean, the +-2 SE band and
/// the sample depth below) inside the plot loop; saves "KVR_fig2.ps", and the pages of
/// `saved_with` with it. `by_year` holds the standardized values by calendar position. Returns
/// kEndOfInput when the console ended at the menu.
[[nodiscard]] Answer plotchron(PlotContext& context, const MeasurementSet& set,
                               const Grid<float>& by_year, std::string_view title, int plot_kind,
                               const Chronology& chronology,
                               std::span<const SavedPage> saved_with = {});

}  // namespace kvr
