#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "io/console.h"
#include "plot/plot_context.h"
#include "plot/plotter.h"
#include "results/output_files.h"

namespace kvr {

/// The size of a PNG figure in pixels.
inline constexpr int kPngWidth = 1600;
inline constexpr int kPngHeight = 1200;

/// The one line printed when a window pass is skipped because no window can be shown.
inline constexpr char kNoWindowLine[] =
    " No plot window can be shown here (no display or no xwin driver); [s]ave still writes "
    "the file";

/// The one line of a save when PLplot lacks the cairo devices; the PostScript file is still
/// written.
inline constexpr char kNoCairoLine[] =
    " No PDF or PNG figure was made: PLplot has no pdfcairo and pngcairo devices (Debian "
    "package plplot-driver-cairo)";

/// Draws the page's two panels: every call between plssub and plend.
using PageDrawer = std::function<void(Plotter&)>;

/// A page that is never shown but saved beside the page of a plot loop: its PostScript file
/// name (with its PDF and PNG files, figure_files) and its drawer.
struct SavedPage {
  std::string file_name;
  PageDrawer draw;
};

/// The plot cycle shared by the plot pages. Each pass sets the device, the colours (white or
/// dark background), calls plinit, plcol0 15 and plssub 1 2, draws the page and ends PLplot;
/// then the options menu asks what to do next:
///   s / S  save: the same page, with the background in force, into the PostScript file
///          `file_name` and, through the cairo devices, into a PDF file and a PNG file of
///          kPngWidth x kPngHeight pixels (figure_files), then the menu again; a file that
///          cannot be created is reported and left out, and without the cairo devices only
///          the PostScript file is written, with one line (kNoCairoLine); each page of
///          `saved_with` is then saved the same way into its own files;
///   r / R  replot in the window;
///   b / B  replot in the window with the other background;
///   anything else (c, a blank line, " s", ...): return.
/// Only the first character of the answer line counts. The first pass is a window pass; when
/// no window can be shown, each window pass is skipped with one line (kNoWindowLine) and the
/// menu follows at once. Returns kEndOfInput when the console ended at the menu, else kOk.
[[nodiscard]] Answer run_plot_loop(PlotContext& context, const std::string& file_name,
                                   const PageDrawer& draw_page,
                                   std::span<const SavedPage> saved_with = {});

}  // namespace kvr
