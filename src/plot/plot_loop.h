#pragma once

#include <functional>
#include <string>

#include "driver/console.h"
#include "plot/plot_context.h"
#include "plot/plotter.h"

namespace kvr {

/// PLplot's X11 window device, which waits at the end of the page until the user dismisses it.
inline constexpr char kWindowDevice[] = "xwin";
/// PLplot's colour PostScript device.
inline constexpr char kFileDevice[] = "psc";

/// The PostScript files of the three pages.
inline constexpr char kRawMeasurementsFile[] = "KVR_fig1.ps";
inline constexpr char kTransformedMeasurementsFile[] = "KVR_fig1b.ps";
inline constexpr char kChronologyFile[] = "KVR_fig2.ps";

/// The one line printed when a window pass is skipped because no window can be shown.
inline constexpr char kNoWindowLine[] =
    " No plot window can be shown here (no display or no xwin driver); [s]ave still writes "
    "the file";

/// Draws the page's two panels: every call between plssub and plend.
using PageDrawer = std::function<void(Plotter&)>;

/// The plot cycle shared by the plot pages. Each pass sets the device, the colours (white or
/// dark background), calls plinit, plcol0 15 and plssub 1 2, draws the page and ends PLplot;
/// then the options menu asks what to do next:
///   s / S  save: the same page into `file_name` through the PostScript device, then the menu
///          again; a file that cannot be created is reported and the menu shown again;
///   r / R  replot in the window;
///   b / B  replot in the window with the other background;
///   anything else (c, a blank line, " s", ...): return.
/// Only the first character of the answer line counts. The first pass is a window pass; when
/// no window can be shown, each window pass is skipped with one line (kNoWindowLine) and the
/// menu follows at once. Returns kEndOfInput when the console ended at the menu, else kOk.
[[nodiscard]] Answer run_plot_loop(PlotContext& context, const std::string& file_name,
                                   const PageDrawer& draw_page);

}  // namespace kvr
