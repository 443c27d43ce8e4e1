#include "recording_plotter.h"

#include <cstdio>

namespace kvr {
namespace {

// The one number format of the recording, for integer and real arguments alike.
std::string format_number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", v);
  return buffer;
}

}  // namespace

RecordingPlotter::RecordingPlotter(bool window_available) : window_available_(window_available) {}

void RecordingPlotter::begin(const char* routine) { calls_.emplace_back(routine); }

void RecordingPlotter::add_number(double v) {
  calls_.back() += ' ';
  calls_.back() += format_number(v);
}

void RecordingPlotter::add_text(const std::string& text) {
  calls_.back() += " \"";
  calls_.back() += text;
  calls_.back() += '"';
}

bool RecordingPlotter::window_available() {
  ++window_probes_;
  return window_available_;
}

bool RecordingPlotter::device_installed(const std::string& device) {
  return missing_devices_.count(device) == 0;
}

void RecordingPlotter::plsdev(const std::string& device) {
  begin("plsdev");
  add_text(device);
}

void RecordingPlotter::plsfnam(const std::string& file_name) {
  begin("plsfnam");
  add_text(file_name);
}

void RecordingPlotter::plscol0(int index, int red, int green, int blue) {
  begin("plscol0");
  add_number(index);
  add_number(red);
  add_number(green);
  add_number(blue);
}

void RecordingPlotter::plscolbg(int red, int green, int blue) {
  begin("plscolbg");
  add_number(red);
  add_number(green);
  add_number(blue);
}

void RecordingPlotter::plspage(double xp, double yp, int xleng, int yleng, int xoff, int yoff) {
  begin("plspage");
  add_number(xp);
  add_number(yp);
  add_number(xleng);
  add_number(yleng);
  add_number(xoff);
  add_number(yoff);
}

void RecordingPlotter::plinit() { begin("plinit"); }

void RecordingPlotter::plcol0(int colour) {
  begin("plcol0");
  add_number(colour);
}

void RecordingPlotter::plssub(int columns, int rows) {
  begin("plssub");
  add_number(columns);
  add_number(rows);
}

void RecordingPlotter::pladv(int page) {
  begin("pladv");
  add_number(page);
}

void RecordingPlotter::plvpor(double xmin, double xmax, double ymin, double ymax) {
  begin("plvpor");
  add_number(xmin);
  add_number(xmax);
  add_number(ymin);
  add_number(ymax);
}

void RecordingPlotter::plwind(double xmin, double xmax, double ymin, double ymax) {
  begin("plwind");
  add_number(xmin);
  add_number(xmax);
  add_number(ymin);
  add_number(ymax);
}

void RecordingPlotter::plaxes(double x0, double y0, const std::string& xopt, double xtick,
                              int nxsub, const std::string& yopt, double ytick, int nysub) {
  begin("plaxes");
  add_number(x0);
  add_number(y0);
  add_text(xopt);
  add_number(xtick);
  add_number(nxsub);
  add_text(yopt);
  add_number(ytick);
  add_number(nysub);
}

void RecordingPlotter::pllab(const std::string& xlabel, const std::string& ylabel,
                             const std::string& title) {
  begin("pllab");
  add_text(xlabel);
  add_text(ylabel);
  add_text(title);
}

void RecordingPlotter::plmtex(const std::string& side, double disp, double pos, double just,
                              const std::string& text) {
  begin("plmtex");
  add_text(side);
  add_number(disp);
  add_number(pos);
  add_number(just);
  add_text(text);
}

void RecordingPlotter::plline(int n, const float* x, const float* y) {
  begin("plline");
  add_number(n);
  for (int i = 0; i < n; ++i) {
    calls_.back() += ' ';
    calls_.back() += format_number(x[i]);
    calls_.back() += ',';
    calls_.back() += format_number(y[i]);
  }
}

void RecordingPlotter::pllsty(int style) {
  begin("pllsty");
  add_number(style);
}

void RecordingPlotter::plwid(double width) {
  begin("plwid");
  add_number(width);
}

void RecordingPlotter::plstyl(int n, const int* marks, const int* spaces) {
  begin("plstyl");
  add_number(n);
  for (int i = 0; i < n; ++i) add_number(marks[i]);
  for (int i = 0; i < n; ++i) add_number(spaces[i]);
}

void RecordingPlotter::plend() { begin("plend"); }

}  // namespace kvr
