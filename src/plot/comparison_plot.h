#pragma once

#include <string_view>

#include "plot/plot_loop.h"
#include "statistics/rcs_comparison.h"

namespace kvr {

/// The comparison page, saved as "KVRcompare.ps" (and its PDF and PNG files) with the
/// chronology page. Upper panel, by age: the mean by age (titled with `title`, the input file
/// name) and the regional curve (blue), with the number of series by age (red, right-hand
/// axis). Lower panel, by year: the rank chronology and the RCS chronology (blue), each divided
/// by its own mean over its years, with the rank chronology's sample depth (red) and the
/// correlation of the two in the title. Missing values are left out of their lines, which join
/// across them; without a regional curve the upper panel shows the mean by age alone and says
/// why, and the lower one the rank chronology alone. The page's points are worked out here,
/// once: one per age and one per year, never one per measurement.
[[nodiscard]] SavedPage comparison_page(const RcsComparison& comparison, std::string_view title);

}  // namespace kvr
