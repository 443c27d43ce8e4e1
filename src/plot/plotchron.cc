#include "plot/plotchron.h"

#include <vector>

#include "plot/chronology_plot.h"

namespace kvr {

Answer plotchron(PlotContext& context, const MeasurementSet& set, const Grid<float>& by_year,
                 std::string_view title, int plot_kind, const Chronology& chronology,
                 std::span<const SavedPage> saved_with) {
  const int years = chronology.years();
  std::vector<float> upper(static_cast<std::size_t>(years));
  std::vector<float> lower(static_cast<std::size_t>(years));
  for (int y = 1; y <= years; ++y) {
    upper[static_cast<std::size_t>(y - 1)] = chronology.upper_band(y);
    lower[static_cast<std::size_t>(y - 1)] = chronology.lower_band(y);
  }
  const ChronologyColumns columns{chronology.robust_mean, upper, lower, chronology.sample_depth,
                                  chronology.average};
  return plot_chronology(context, set, by_year, title, plot_kind, columns, saved_with);
}

}  // namespace kvr
