#pragma once

#include <string>

namespace kvr {

/// PLplot's X11 window device, which waits at the end of the page until the user dismisses it.
inline constexpr char kWindowDevice[] = "xwin";
/// The file devices of a saved figure: colour PostScript, and the cairo devices that draw the
/// same page with real fonts, upright, as PDF and as PNG.
inline constexpr char kFileDevice[] = "psc";
inline constexpr char kPdfDevice[] = "pdfcairo";
inline constexpr char kPngDevice[] = "pngcairo";

/// One method per PLplot routine the program calls, named as in PLplot. Strings arrive with
/// their trailing blanks removed (an all-blank text as the empty string).
class Plotter {
 public:
  virtual ~Plotter() = default;

  /// True when the window device can show a page: a display answers and the device is
  /// installed. PLplot itself would end the program inside plinit otherwise.
  virtual bool window_available() = 0;
  /// True when PLplot has a driver for `device`: PLplot asks on standard input for a device
  /// it does not have.
  virtual bool device_installed(const std::string& device) = 0;

  virtual void plsdev(const std::string& device) = 0;
  virtual void plsfnam(const std::string& file_name) = 0;
  virtual void plscol0(int index, int red, int green, int blue) = 0;
  virtual void plscolbg(int red, int green, int blue) = 0;
  /// The page size: pixels per inch, then the length and offset in pixels (0: the default).
  virtual void plspage(double xp, double yp, int xleng, int yleng, int xoff, int yoff) = 0;
  virtual void plinit() = 0;
  virtual void plcol0(int colour) = 0;
  virtual void plssub(int columns, int rows) = 0;
  virtual void pladv(int page) = 0;
  virtual void plvpor(double xmin, double xmax, double ymin, double ymax) = 0;
  virtual void plwind(double xmin, double xmax, double ymin, double ymax) = 0;
  virtual void plaxes(double x0, double y0, const std::string& xopt, double xtick, int nxsub,
                      const std::string& yopt, double ytick, int nysub) = 0;
  virtual void pllab(const std::string& xlabel, const std::string& ylabel,
                     const std::string& title) = 0;
  virtual void plmtex(const std::string& side, double disp, double pos, double just,
                      const std::string& text) = 0;
  virtual void plline(int n, const float* x, const float* y) = 0;
  virtual void pllsty(int style) = 0;
  virtual void plwid(double width) = 0;  // plwidth() in PLplot 5.15
  virtual void plstyl(int n, const int* marks, const int* spaces) = 0;
  virtual void plend() = 0;
};

}  // namespace kvr
