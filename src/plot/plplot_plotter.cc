#include "plot/plplot_plotter.h"

#include <plplot.h>

// plplot.h maps each routine name to its c_ function by a macro, which would rename the
// methods of PlplotPlotter too; the c_ functions are called by their own names below.
#undef plsdev
#undef plsfnam
#undef plscol0
#undef plscolbg
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

#include <vector>

namespace kvr {

bool PlplotPlotter::window_available() { return false; }
void PlplotPlotter::plsdev(const std::string& device) { ::c_plsdev(device.c_str()); }
void PlplotPlotter::plsfnam(const std::string& file_name) { ::c_plsfnam(file_name.c_str()); }
void PlplotPlotter::plscol0(int index, int red, int green, int blue) {
  ::c_plscol0(index, red, green, blue);
}
void PlplotPlotter::plscolbg(int red, int green, int blue) { ::c_plscolbg(red, green, blue); }
void PlplotPlotter::plinit() { ::c_plinit(); }
void PlplotPlotter::plcol0(int colour) { ::c_plcol0(colour); }
void PlplotPlotter::plssub(int columns, int rows) { ::c_plssub(columns, rows); }
void PlplotPlotter::pladv(int page) { ::c_pladv(page); }
void PlplotPlotter::plvpor(double xmin, double xmax, double ymin, double ymax) {
  ::c_plvpor(xmin, xmax, ymin, ymax);
}
void PlplotPlotter::plwind(double xmin, double xmax, double ymin, double ymax) {
  ::c_plwind(xmin, xmax, ymin, ymax);
}
void PlplotPlotter::plaxes(double x0, double y0, const std::string& xopt, double xtick,
                           int nxsub, const std::string& yopt, double ytick, int nysub) {
  ::c_plaxes(x0, y0, xopt.c_str(), xtick, nxsub, yopt.c_str(), ytick, nysub);
}
void PlplotPlotter::pllab(const std::string& xlabel, const std::string& ylabel,
                          const std::string& title) {
  ::c_pllab(xlabel.c_str(), ylabel.c_str(), title.c_str());
}
void PlplotPlotter::plmtex(const std::string& side, double disp, double pos, double just,
                           const std::string& text) {
  ::c_plmtex(side.c_str(), disp, pos, just, text.c_str());
}
void PlplotPlotter::plline(int n, const float* x, const float* y) {
  std::vector<PLFLT> xs(x, x + n);
  std::vector<PLFLT> ys(y, y + n);
  ::c_plline(n, xs.data(), ys.data());
}
void PlplotPlotter::pllsty(int style) { ::c_pllsty(style); }
void PlplotPlotter::plwid(double width) { ::c_plwidth(width); }
void PlplotPlotter::plstyl(int n, const int* marks, const int* spaces) {
  ::c_plstyl(n, marks, spaces);
}
void PlplotPlotter::plend() { ::c_plend(); }

}  // namespace kvr
