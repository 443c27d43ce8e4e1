#include "plot/plplot_library.h"

#include <dlfcn.h>

// Only for the checks below that the loaded routines have Xlib's own types.
#include <X11/Xlib.h>

#include <mutex>
#include <type_traits>

namespace kvr {
namespace {

static_assert(std::is_same_v<decltype(&::XOpenDisplay), decltype(XlibRoutines::open_display)>);
static_assert(std::is_same_v<decltype(&::XCloseDisplay), decltype(XlibRoutines::close_display)>);

// Looks up each named routine of `library` into its field of `routines`; false when one is
// missing.
template <typename Routines, typename Field>
bool bind(void* library, const char* name, Field Routines::*field, Routines* routines) {
  void* address = ::dlsym(library, name);
  if (address == nullptr) return false;
  routines->*field = reinterpret_cast<Field>(address);
  return true;
}

bool bind_plplot(void* library, PlplotRoutines* r) {
  return bind(library, "c_plsdev", &PlplotRoutines::sdev, r) &&
         bind(library, "c_plsfnam", &PlplotRoutines::sfnam, r) &&
         bind(library, "c_plscol0", &PlplotRoutines::scol0, r) &&
         bind(library, "c_plscolbg", &PlplotRoutines::scolbg, r) &&
         bind(library, "c_plspage", &PlplotRoutines::spage, r) &&
         bind(library, "c_plinit", &PlplotRoutines::init, r) &&
         bind(library, "c_plcol0", &PlplotRoutines::col0, r) &&
         bind(library, "c_plssub", &PlplotRoutines::ssub, r) &&
         bind(library, "c_pladv", &PlplotRoutines::adv, r) &&
         bind(library, "c_plvpor", &PlplotRoutines::vpor, r) &&
         bind(library, "c_plwind", &PlplotRoutines::wind, r) &&
         bind(library, "c_plaxes", &PlplotRoutines::axes, r) &&
         bind(library, "c_pllab", &PlplotRoutines::lab, r) &&
         bind(library, "c_plmtex", &PlplotRoutines::mtex, r) &&
         bind(library, "c_plline", &PlplotRoutines::line, r) &&
         bind(library, "c_pllsty", &PlplotRoutines::lsty, r) &&
         bind(library, "c_plwidth", &PlplotRoutines::width, r) &&
         bind(library, "c_plstyl", &PlplotRoutines::styl, r) &&
         bind(library, "c_plend", &PlplotRoutines::end, r) &&
         bind(library, "plgDevs", &PlplotRoutines::gDevs, r) &&
         bind(library, "plsKeyEH", &PlplotRoutines::sKeyEH, r) &&
         bind(library, "plsButtonEH", &PlplotRoutines::sButtonEH, r);
}

bool bind_xlib(void* library, XlibRoutines* r) {
  return bind(library, "XOpenDisplay", &XlibRoutines::open_display, r) &&
         bind(library, "XCloseDisplay", &XlibRoutines::close_display, r);
}

// The library named `soname` with its routines bound by `bind_all`, once; nullptr when either
// fails. The library stays loaded until the program ends.
template <typename Routines>
const Routines* load_once(std::once_flag* once, const char* soname,
                          bool (*bind_all)(void*, Routines*), Routines* routines, bool* loaded) {
  std::call_once(*once, [&] {
    void* library = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return;
    *loaded = bind_all(library, routines);
  });
  return *loaded ? routines : nullptr;
}

std::once_flag plplot_once;
PlplotRoutines plplot;
bool plplot_ready = false;

std::once_flag xlib_once;
XlibRoutines xlib;
bool xlib_ready = false;

}  // namespace

const PlplotRoutines* plplot_routines() {
  return load_once(&plplot_once, KVR_PLPLOT_SONAME, bind_plplot, &plplot, &plplot_ready);
}

const XlibRoutines* xlib_routines() {
  return load_once(&xlib_once, KVR_X11_SONAME, bind_xlib, &xlib, &xlib_ready);
}

}  // namespace kvr
