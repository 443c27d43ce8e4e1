#pragma once

#include <set>
#include <string>
#include <vector>

#include "plot/plotter.h"

namespace kvr {

/// A Plotter that draws nothing and appends one line per PLplot call to calls(): the routine
/// name, then its arguments separated by blanks. Numbers are written with %.6g, strings in
/// double quotes (so an empty string shows as ""), and plline lists every point as x,y:
///
///   plwind 1890 1990 0 3
///   plaxes 1890 0 "abinst" 10 5 "abinstv" 0.5 1
///   plline 3 1901,1.2 1902,1.5 1903,0.8
///   plstyl 1 1500 1500        (n, then the n marks, then the n spaces)
///
///   plspage 0 0 1600 1200 0 0
///
/// window_available() and device_installed() are not PLplot calls and are not recorded; they
/// answer what the test set (every device is installed but those set missing).
class RecordingPlotter : public Plotter {
 public:
  explicit RecordingPlotter(bool window_available = true);

  const std::vector<std::string>& calls() const { return calls_; }
  void clear() { calls_.clear(); }
  void set_window_available(bool available) { window_available_ = available; }
  void set_device_missing(const std::string& device) { missing_devices_.insert(device); }
  /// Number of window_available() questions asked so far.
  int window_probes() const { return window_probes_; }

  bool window_available() override;
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
  /// Starts a new line with the routine name; the add_* calls append arguments to it.
  void begin(const char* routine);
  void add_number(double v);
  void add_text(const std::string& text);

  std::vector<std::string> calls_;
  bool window_available_;
  std::set<std::string> missing_devices_;
  int window_probes_ = 0;
};

}  // namespace kvr
