#include "plot/plplot_plotter.h"

#include <plplot/plevent.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "plot/plplot_library.h"

namespace kvr {
namespace {

// Shift, Control, Caps Lock, Meta, Alt, Super and Hyper, and the ISO level shifts (AltGr):
// pressed alone they only prepare the key that follows.
bool is_modifier(unsigned int keysym) {
  return (keysym >= PLK_Shift_L && keysym <= PLK_Hyper_R) ||
         (keysym >= 0xFE01 && keysym <= 0xFE0F) ||  // ISO_Lock .. ISO_Last_Group_Lock
         keysym == 0xFF7E ||                        // Mode_switch
         keysym == 0xFF7F;                          // Num_Lock
}

// The window's key handler: any key but a bare modifier ends the page. The key is then
// cleared, which keeps the window device from acting on it: a capital Q would end the
// program, an L would start locate mode.
void on_key(PLGraphicsIn* event, void* /*data*/, int* exit_eventloop) {
  if (is_modifier(event->keysym)) return;
  event->keysym = 0;
  event->string[0] = '\0';
  *exit_eventloop = 1;
}

// The window's button handler: any click ends the page.
void on_button(PLGraphicsIn* /*event*/, void* /*data*/, int* exit_eventloop) {
  *exit_eventloop = 1;
}

bool is_file_device(const std::string& device) {
  return device == kFileDevice || device == kPdfDevice || device == kPngDevice;
}

void report(const char* text) { std::fprintf(stderr, " Plot skipped: %s\n", text); }

}  // namespace

PlplotPlotter::~PlplotPlotter() {
  if (display_ != nullptr) xlib_routines()->close_display(display_);
}

bool PlplotPlotter::display_available() {
  // Without DISPLAY no display can be opened, and Xlib is not even loaded.
  const char* name = std::getenv("DISPLAY");
  const XlibRoutines* xlib = name != nullptr && *name != '\0' ? xlib_routines() : nullptr;
  // The new connection opens before the old one closes, so the server never loses its last
  // client to a probe.
  _XDisplay* display = xlib != nullptr ? xlib->open_display(nullptr) : nullptr;
  if (display_ != nullptr) xlib_routines()->close_display(display_);
  display_ = display;
  return display != nullptr;
}

bool PlplotPlotter::device_installed(const std::string& device) {
  // plgDevs fills caller-supplied arrays; *count is their capacity on entry.
  std::array<const char*, 128> menu{};
  std::array<const char*, 128> names{};
  const char** menu_pointer = menu.data();
  const char** name_pointer = names.data();
  int count = static_cast<int>(names.size());
  const PlplotRoutines* pl = plplot_routines();
  if (pl == nullptr) return false;
  pl->gDevs(&menu_pointer, &name_pointer, &count);
  for (int i = 0; i < count && i < static_cast<int>(names.size()); ++i) {
    if (names[static_cast<std::size_t>(i)] != nullptr &&
        device == names[static_cast<std::size_t>(i)]) {
      return true;
    }
  }
  return false;
}

bool PlplotPlotter::window_available() {
  return display_available() && device_installed(kWindowDevice);
}

void PlplotPlotter::plsdev(const std::string& device) {
  device_ = device;
  if (const PlplotRoutines* pl = plplot_routines()) pl->sdev(device.c_str());
}

void PlplotPlotter::plsfnam(const std::string& file_name) {
  file_name_ = file_name;
  if (const PlplotRoutines* pl = plplot_routines()) pl->sfnam(file_name.c_str());
}

void PlplotPlotter::plscol0(int index, int red, int green, int blue) {
  if (const PlplotRoutines* pl = plplot_routines()) pl->scol0(index, red, green, blue);
}

void PlplotPlotter::plscolbg(int red, int green, int blue) {
  if (const PlplotRoutines* pl = plplot_routines()) pl->scolbg(red, green, blue);
}

void PlplotPlotter::plspage(double xp, double yp, int xleng, int yleng, int xoff, int yoff) {
  if (const PlplotRoutines* pl = plplot_routines()) pl->spage(xp, yp, xleng, yleng, xoff, yoff);
}

void PlplotPlotter::plinit() {
  if (active_) return;
  if (device_.empty()) return report("no PLplot device was chosen");
  const PlplotRoutines* pl = plplot_routines();
  if (pl == nullptr) return report("PLplot cannot be loaded");
  if (!device_installed(device_)) return report("the PLplot device is not installed");
  // Other devices may open a window of their own (xcairo) or want more than a file name.
  const bool file_device = is_file_device(device_);
  if (!file_device && device_ != kWindowDevice) {
    return report("the PLplot device is not one this program draws on");
  }
  if (!file_device && !display_available()) return report("no display can be opened");
  if (file_device && file_name_.empty()) return report("no file name was given");
  // plend forgets the handlers, so they are installed again for every page.
  pl->sKeyEH(on_key, nullptr);
  pl->sButtonEH(on_button, nullptr);
  pl->init();
  pl_ = pl;
  active_ = true;
}

void PlplotPlotter::plcol0(int colour) {
  if (active_) pl_->col0(colour);
}

void PlplotPlotter::plssub(int columns, int rows) {
  if (const PlplotRoutines* pl = plplot_routines()) pl->ssub(columns, rows);
}

void PlplotPlotter::pladv(int page) {
  if (active_) pl_->adv(page);
}

void PlplotPlotter::plvpor(double xmin, double xmax, double ymin, double ymax) {
  if (active_) pl_->vpor(xmin, xmax, ymin, ymax);
}

void PlplotPlotter::plwind(double xmin, double xmax, double ymin, double ymax) {
  if (active_) pl_->wind(xmin, xmax, ymin, ymax);
}

void PlplotPlotter::plaxes(double x0, double y0, const std::string& xopt, double xtick, int nxsub,
                           const std::string& yopt, double ytick, int nysub) {
  if (active_) pl_->axes(x0, y0, xopt.c_str(), xtick, nxsub, yopt.c_str(), ytick, nysub);
}

void PlplotPlotter::pllab(const std::string& xlabel, const std::string& ylabel,
                          const std::string& title) {
  if (active_) pl_->lab(xlabel.c_str(), ylabel.c_str(), title.c_str());
}

void PlplotPlotter::plmtex(const std::string& side, double disp, double pos, double just,
                           const std::string& text) {
  if (active_) pl_->mtex(side.c_str(), disp, pos, just, text.c_str());
}

void PlplotPlotter::plline(int n, const float* x, const float* y) {
  if (!active_ || n <= 0) return;
  const std::vector<PLFLT> xs(x, x + n);
  const std::vector<PLFLT> ys(y, y + n);
  pl_->line(n, xs.data(), ys.data());
}

void PlplotPlotter::pllsty(int style) {
  if (active_) pl_->lsty(style);
}

void PlplotPlotter::plwid(double width) {
  if (active_) pl_->width(width);
}

void PlplotPlotter::plstyl(int n, const int* marks, const int* spaces) {
  if (active_) pl_->styl(n, marks, spaces);
}

void PlplotPlotter::plend() {
  // Also after a skipped plinit: plend resets the stream, so nothing set for the skipped page
  // (a file name, say) is left over for the next one.
  if (const PlplotRoutines* pl = plplot_routines()) pl->end();
  pl_ = nullptr;
  active_ = false;
  device_.clear();
  file_name_.clear();
}

}  // namespace kvr
