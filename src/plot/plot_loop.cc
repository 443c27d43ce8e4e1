#include "plot/plot_loop.h"

#include <memory>
#include <ostream>

namespace kvr {
namespace {

enum class Pass { kWindow, kFile };

constexpr int kForeground = 15;
constexpr int kBackground = 0;

// Colour map 0 entries 0 (background) and 15 (foreground) and the background colour, in the
// order PLplot is given them for each background.
void set_colours(Plotter& plotter, bool dark) {
  if (dark) {
    plotter.plscol0(kForeground, 255, 255, 255);
    plotter.plscol0(kBackground, 0, 0, 0);
    plotter.plscolbg(0, 0, 0);
  } else {
    plotter.plscol0(kBackground, 255, 255, 255);
    plotter.plscol0(kForeground, 0, 0, 0);
    plotter.plscolbg(255, 255, 255);
  }
}

void show_menu(Console& console) {
  console.line("");
  console.line(" |*************** plot options menu ***************|");
  console.line(" |-------------------------------------------------|");
  console.line(" | [s]ave <[c]ontinue> [r]eplot change<b>ackground |");
  console.line(" |_________________________________________________|");
  console.line("");
  console.prompt("  Enter selection s, <c>, r, or b > ");
}

// PLplot's PostScript device ends the program when it cannot open its file, so the file is
// created here first; PLplot then replaces it.
bool can_create(PlotContext& context, const std::string& file_name) {
  std::string error;
  std::unique_ptr<std::ostream> file = context.files.open_write(file_name, &error);
  if (file) return true;
  context.console.line(" The file " + file_name + " cannot be created: " + error);
  return false;
}

}  // namespace

Answer run_plot_loop(PlotContext& context, const std::string& file_name,
                     const PageDrawer& draw_page) {
  Plotter& plotter = context.plotter;
  Pass pass = Pass::kWindow;
  bool dark = false;
  bool draw = true;
  for (;;) {
    if (draw && pass == Pass::kWindow && !plotter.window_available()) {
      // PLplot would end the whole program inside plinit; go to the menu instead.
      context.console.line(kNoWindowLine);
      draw = false;
    }
    if (draw) {
      // The file pass has had its device and file name set by the save answer.
      if (pass == Pass::kWindow) plotter.plsdev(kWindowDevice);
      set_colours(plotter, dark);
      plotter.plinit();
      plotter.plcol0(kForeground);
      plotter.plssub(1, 2);
      draw_page(plotter);
      plotter.plend();
    }

    show_menu(context.console);
    std::string answer;
    if (context.console.read_line(&answer) == Answer::kEndOfInput) return Answer::kEndOfInput;
    const char choice = answer.empty() ? ' ' : answer[0];
    draw = true;
    switch (choice) {
      case 'S':
      case 's':
        if (!can_create(context, file_name)) {
          draw = false;
          break;
        }
        pass = Pass::kFile;
        plotter.plsdev(kFileDevice);
        plotter.plsfnam(file_name);
        break;
      case 'R':
      case 'r':
        pass = Pass::kWindow;
        break;
      case 'B':
      case 'b':
        pass = Pass::kWindow;
        dark = !dark;
        break;
      default:
        return Answer::kOk;
    }
  }
}

}  // namespace kvr
