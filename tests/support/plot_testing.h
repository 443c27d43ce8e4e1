#pragma once

// A plot context on recorded calls, and the checks of the calls, shared by the plot tests.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "io/console.h"
#include "memory_file_system.h"
#include "plot/plot_context.h"
#include "recording_plotter.h"

namespace kvr {

/// Recorded PLplot calls, one line each (RecordingPlotter).
using Calls = std::vector<std::string>;

/// An empty string when every plinit of a recorded call sequence is safe and complete: a
/// device set since the last plend, a file name too for a file device, the page size for the
/// PNG device, the background colour, and a plend before the next plinit. Otherwise a
/// description of the first fault. PLplot would read standard input, or end the program, at a
/// plinit without a device or file name; plend forgets the rest, so a pass that does not set
/// them again draws with PLplot's defaults.
inline std::string plinit_fault(const std::vector<std::string>& calls) {
  std::string device;
  bool file_name = false;
  bool page_size = false;
  bool background = false;
  bool open = false;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const std::string& call = calls[i];
    const std::string at = " at call " + std::to_string(i + 1);
    if (call.rfind("plsdev ", 0) == 0) {
      device = call.substr(7);
    } else if (call.rfind("plsfnam ", 0) == 0) {
      file_name = true;
    } else if (call.rfind("plspage ", 0) == 0) {
      page_size = true;
    } else if (call.rfind("plscolbg ", 0) == 0) {
      background = true;
    } else if (call == "plinit") {
      if (open) return "plinit without plend" + at;
      if (device.empty()) return "plinit without a device" + at;
      if (device != "\"xwin\"" && !file_name) return "file plinit without a file name" + at;
      if (device == "\"pngcairo\"" && !page_size) return "PNG plinit without a page size" + at;
      if (!background) return "plinit without a background colour" + at;
      open = true;
    } else if (call == "plend") {
      device.clear();
      file_name = page_size = background = open = false;
    }
  }
  if (open) return "no plend after the last plinit";
  return "";
}

/// The calls a page's first window pass opens with on the white background, up to the
/// viewport of its upper panel.
inline Calls white_window_opening() {
  return {"plsdev \"xwin\"",
          "plscol0 0 255 255 255",
          "plscol0 15 0 0 0",
          "plscolbg 255 255 255",
          "plinit",
          "plcol0 15",
          "plssub 1 2",
          "pladv 0",
          "plvpor 0.12 0.9 0.2 0.85"};
}

/// The call lists one after the other.
inline Calls join(const std::vector<Calls>& parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

/// What a plot routine needs, for a test: the console reads `input` and writes to `out`, the
/// plotter records, the files are kept in memory.
struct RecordedPlot {
  explicit RecordedPlot(const std::string& input, bool window_available = true)
      : in(input), console(in, out), plotter(window_available), context{console, plotter, files} {}

  /// The calls recorded; a test fails when a plinit among them is unsafe (plinit_fault).
  std::vector<std::string> checked_calls() const {
    EXPECT_EQ(plinit_fault(plotter.calls()), "");
    return plotter.calls();
  }

  std::istringstream in;
  std::ostringstream out;
  Console console;
  RecordingPlotter plotter;
  MemoryFileSystem files;
  PlotContext context;
};

}  // namespace kvr
