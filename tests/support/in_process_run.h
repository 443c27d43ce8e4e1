#pragma once

// Whole analyses run in process: the answers from a string, the files in memory, the plots
// recorded.

#include <map>
#include <string>
#include <vector>

#include "memory_file_system.h"

namespace kvr::test {

/// The font folder that in-process runs name in the banner.
inline constexpr char kFontFolder[] = "<PLPLOT_LIB>";

/// What one in-process run left behind.
struct InProcessRun {
  int status = -1;
  std::string screen;
  std::vector<std::string> plot_calls;       // as RecordingPlotter records them
  std::map<std::string, std::string> files;  // every file after the run, the input included

  /// The file `name`, or "<no file NAME>" when the run left none.
  std::string file(const std::string& name) const;
  bool has_file(const std::string& name) const { return files.count(name) != 0; }
};

struct RunOptions {
  bool window_available = false;
  std::string font_folder = kFontFolder;
};

/// Runs one analysis on `answers` with the folder `files` (its files before the run, and the
/// names that cannot be created or written).
InProcessRun run_in_process(const std::string& answers, MemoryFileSystem files,
                            const RunOptions& options = {});

/// The same with one file in the folder, `input` under the name `input_name`.
InProcessRun run_in_process(const std::string& answers, const std::string& input_name,
                            const std::string& input, const RunOptions& options = {});

}  // namespace kvr::test
