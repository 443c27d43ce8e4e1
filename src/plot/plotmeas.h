#pragma once

#include <string_view>
#include <vector>

#include "io/console.h"
#include "measurements/measurement_set.h"
#include "plot/plot_context.h"

namespace kvr {

/// Plot kinds: raw measurements, or power-transformed ones.
inline constexpr int kPlotRaw = 1;
inline constexpr int kPlotTransformed = 2;

/// The measurement plot (upper panel by calendar year, lower by ring number) inside the plot
/// loop with its options menu; saves "KVR_fig1.ps" (raw) or "KVR_fig1b.ps" (transformed).
/// The set's values must be age aligned (value i of a series is its i-th ring). A series'
/// line joins across its missing cells, which count for neither the depth nor the running
/// means.
/// Returns kEndOfInput when the console ended at the menu.
[[nodiscard]] Answer plotmeas(PlotContext& context, const MeasurementSet& set, int plot_kind,
                              std::string_view title);

}  // namespace kvr
