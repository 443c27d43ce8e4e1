#include "plot/plot_loop.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kvr {
namespace {

// One pass's output: the device and, for a file device, the file (none for the window),
// whether the page size is given in pixels (the PNG), and the page drawn.
struct Output {
  const char* device;
  std::string file;
  bool pixels;
  const PageDrawer* draw;
};

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

// The file devices end the program when they cannot open their file (after asking for
// another name on standard input), so the file is created here first; PLplot then replaces it.
bool can_create(PlotContext& context, const std::string& file_name) {
  std::string error;
  std::unique_ptr<std::ostream> file = context.files.open_write(file_name, &error);
  if (file) return true;
  context.console.line(" The file " + file_name + " cannot be created: " + error);
  return false;
}

// The passes of a save, page by page: each file that can be created, the PDF and PNG ones only
// when PLplot has their devices (else one line says so, once).
std::vector<Output> save_outputs(PlotContext& context, std::span<const SavedPage> pages) {
  const bool cairo =
      context.plotter.device_installed(kPdfDevice) && context.plotter.device_installed(kPngDevice);
  std::vector<Output> outputs;
  for (const SavedPage& page : pages) {
    const std::vector<std::string> files = figure_files(page.file_name);
    if (can_create(context, files[0]))
      outputs.push_back({kFileDevice, files[0], false, &page.draw});
    if (!cairo) continue;
    if (can_create(context, files[1])) outputs.push_back({kPdfDevice, files[1], false, &page.draw});
    if (can_create(context, files[2])) outputs.push_back({kPngDevice, files[2], true, &page.draw});
  }
  if (!cairo) context.console.line(kNoCairoLine);
  return outputs;
}

// One pass. plend resets the stream, so the device, the file name, the page size and the
// colours are all set again before each plinit.
void draw_pass(Plotter& plotter, const Output& output, bool dark) {
  plotter.plsdev(output.device);
  if (!output.file.empty()) plotter.plsfnam(output.file);
  if (output.pixels) plotter.plspage(0, 0, kPngWidth, kPngHeight, 0, 0);
  set_colours(plotter, dark);
  plotter.plinit();
  plotter.plcol0(kForeground);
  plotter.plssub(1, 2);
  (*output.draw)(plotter);
  plotter.plend();
}

}  // namespace

Answer run_plot_loop(PlotContext& context, const std::string& file_name,
                     const PageDrawer& draw_page, std::span<const SavedPage> saved_with) {
  Plotter& plotter = context.plotter;
  // The page on screen first, then the pages saved with it.
  std::vector<SavedPage> saved = {{file_name, draw_page}};
  saved.insert(saved.end(), saved_with.begin(), saved_with.end());
  const Output window{kWindowDevice, "", false, &saved.front().draw};
  std::vector<Output> passes = {window};
  bool dark = false;
  for (;;) {
    for (const Output& output : passes) {
      const bool window_pass = output.file.empty();
      if (window_pass && !plotter.window_available()) {
        // PLplot would end the whole program inside plinit; go to the menu instead.
        context.console.line(kNoWindowLine);
        continue;
      }
      draw_pass(plotter, output, dark);
    }

    show_menu(context.console);
    std::string answer;
    if (context.console.read_line(&answer) == Answer::kEndOfInput) return Answer::kEndOfInput;
    const char choice = answer.empty() ? ' ' : answer[0];
    switch (choice) {
      case 'S':
      case 's':
        passes = save_outputs(context, saved);
        break;
      case 'R':
      case 'r':
        passes = {window};
        break;
      case 'B':
      case 'b':
        passes = {window};
        dark = !dark;
        break;
      default:
        return Answer::kOk;
    }
  }
}

}  // namespace kvr
