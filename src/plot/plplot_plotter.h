#pragma once

#include <string>

#include "plot/plotter.h"

struct _XDisplay;

namespace kvr {

struct PlplotRoutines;

/// The Plotter over PLplot's C API, PLplot's default stream only.
///
/// PLplot ends the whole program, or reads the program's standard input, in several cases;
/// this adapter keeps it from doing either:
/// - window_available() opens the X display and checks that the "xwin" driver is installed:
///   without them plinit would end the program. The probe's connection stays open until the
///   next probe or the end of the plotter: an X server whose last client disconnects resets
///   itself (Xvfb, a bare X session), and a connection attempt during the reset fails, so
///   a probe that closed at once could make PLplot's own connection in plinit fail.
/// - plinit() starts PLplot only when a device has been set since the last plend, the device
///   is installed and is one the program draws on (the window device or a file device: psc,
///   pdfcairo, pngcairo), a file device has a file name, and the window device has a display;
///   otherwise PLplot would ask on standard input (or exit), so the page is skipped with a
///   line on standard error and every drawing call up to plend does nothing.
/// - Before each plinit it installs key and button handlers: any key but a bare modifier, or
///   any click, dismisses the window's page, and the capital Q that would end the program
///   only dismisses it too.
class PlplotPlotter : public Plotter {
 public:
  PlplotPlotter() = default;
  PlplotPlotter(const PlplotPlotter&) = delete;
  PlplotPlotter& operator=(const PlplotPlotter&) = delete;
  ~PlplotPlotter() override;

  bool window_available() override;
  /// True when PLplot has a driver for `device` (e.g. "xwin", "psc", "pngcairo").
  bool device_installed(const std::string& device) override;
  void plsdev(const std::string& device) override;
  void plsfnam(const std::string& file_name) override;
  void plscol0(int index, int red, int green, int blue) override;
  void plscolbg(int red, int green, int blue) override;
  void plspage(double xp, double yp, int xleng, int yleng, int xoff, int yoff) override;
  void plinit() override;
  void plcol0(int colour) override;
  void plssub(int columns, int rows) override;
  void pladv(int page) override;
  void plvpor(double xmin, double xmax, double ymin, double ymax) override;
  void plwind(double xmin, double xmax, double ymin, double ymax) override;
  void plaxes(double x0, double y0, const std::string& xopt, double xtick, int nxsub,
              const std::string& yopt, double ytick, int nysub) override;
  void pllab(const std::string& xlabel, const std::string& ylabel,
             const std::string& title) override;
  void plmtex(const std::string& side, double disp, double pos, double just,
              const std::string& text) override;
  void plline(int n, const float* x, const float* y) override;
  void pllsty(int style) override;
  void plwid(double width) override;
  void plstyl(int n, const int* marks, const int* spaces) override;
  void plend() override;

 private:
  /// True when the X display named by DISPLAY can be opened; keeps the new connection open
  /// in place of the last one.
  bool display_available();

  _XDisplay* display_ = nullptr;        // the probe's connection, kept open (see above)
  const PlplotRoutines* pl_ = nullptr;  // PLplot's routines while a page is active
  // What has been set on the stream since the last plend (plend resets the stream).
  std::string device_;
  std::string file_name_;
  bool active_ = false;  // plinit has run and plend has not
};

}  // namespace kvr
