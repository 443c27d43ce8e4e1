#include "in_process_run.h"

#include <sstream>
#include <utility>

#include "driver/run.h"
#include "io/console.h"
#include "recording_plotter.h"

namespace kvr::test {

std::string InProcessRun::file(const std::string& name) const {
  const auto found = files.find(name);
  return found == files.end() ? "<no file " + name + ">" : found->second;
}

InProcessRun run_in_process(const std::string& answers, MemoryFileSystem files,
                            const RunOptions& options) {
  std::istringstream in(answers);
  std::ostringstream out;
  Console console(in, out);
  RecordingPlotter plotter(options.window_available);
  InProcessRun run;
  run.status = run_analysis(console, plotter, files, options.font_folder);
  run.screen = out.str();
  run.plot_calls = plotter.calls();
  run.files = std::move(files.files);
  return run;
}

InProcessRun run_in_process(const std::string& answers, const std::string& input_name,
                            const std::string& input, const RunOptions& options) {
  MemoryFileSystem files;
  files.files[input_name] = input;
  return run_in_process(answers, std::move(files), options);
}

}  // namespace kvr::test
