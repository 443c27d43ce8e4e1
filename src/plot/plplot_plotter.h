#pragma once

#include "plot/plotter.h"

namespace kvr {

/// The Plotter over PLplot's C API.
class PlplotPlotter : public Plotter {
 public:
  bool window_available() override;
  void plsdev(const std::string& device) override;
  void plsfnam(const std::string& file_name) override;
  void plscol0(int index, int red, int green, int blue) override;
  void plscolbg(int red, int green, int blue) override;
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
};

}  // namespace kvr
