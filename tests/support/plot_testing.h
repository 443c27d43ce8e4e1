#pragma once

// Checks of recorded plot calls, shared by the plot tests.

#include <string>
#include <vector>

namespace kvr {

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

}  // namespace kvr
