#pragma once

#include <plplot.h>

// plplot.h maps each routine name to its c_ function by a macro, which would rename the
// plotter's methods of the same names too; the routines are reached through the table below.
#undef plsdev
#undef plsfnam
#undef plscol0
#undef plscolbg
#undef plspage
#undef plinit
#undef plcol0
#undef plssub
#undef pladv
#undef plvpor
#undef plwind
#undef plaxes
#undef pllab
#undef plmtex
#undef plline
#undef pllsty
#undef plwidth
#undef plstyl
#undef plend

// Xlib's display type, as Xlib.h declares it; Xlib's macros stay out of every file but one.
struct _XDisplay;

namespace kvr {

/// PLplot's routines as the plotter calls them, taken from PLplot's shared library when the
/// first one is needed. A run that draws nothing never loads PLplot, nor the twenty libraries
/// it brings along, which would cost every run several milliseconds at its start.
struct PlplotRoutines {
  decltype(&::c_plsdev) sdev = nullptr;
  decltype(&::c_plsfnam) sfnam = nullptr;
  decltype(&::c_plscol0) scol0 = nullptr;
  decltype(&::c_plscolbg) scolbg = nullptr;
  decltype(&::c_plspage) spage = nullptr;
  decltype(&::c_plinit) init = nullptr;
  decltype(&::c_plcol0) col0 = nullptr;
  decltype(&::c_plssub) ssub = nullptr;
  decltype(&::c_pladv) adv = nullptr;
  decltype(&::c_plvpor) vpor = nullptr;
  decltype(&::c_plwind) wind = nullptr;
  decltype(&::c_plaxes) axes = nullptr;
  decltype(&::c_pllab) lab = nullptr;
  decltype(&::c_plmtex) mtex = nullptr;
  decltype(&::c_plline) line = nullptr;
  decltype(&::c_pllsty) lsty = nullptr;
  decltype(&::c_plwidth) width = nullptr;
  decltype(&::c_plstyl) styl = nullptr;
  decltype(&::c_plend) end = nullptr;
  decltype(&::plgDevs) gDevs = nullptr;
  decltype(&::plsKeyEH) sKeyEH = nullptr;
  decltype(&::plsButtonEH) sButtonEH = nullptr;
};

/// Xlib's two routines of the display probe, likewise loaded when first needed.
struct XlibRoutines {
  _XDisplay* (*open_display)(const char* name) = nullptr;
  int (*close_display)(_XDisplay* display) = nullptr;
};

/// PLplot's routines, loaded at the first call; nullptr (at every call) when the library or
/// one of its routines cannot be loaded.
[[nodiscard]] const PlplotRoutines* plplot_routines();

/// Xlib's routines, loaded at the first call; nullptr when they cannot be loaded.
[[nodiscard]] const XlibRoutines* xlib_routines();

}  // namespace kvr
