#include <cstdlib>
#include <iostream>

#include "driver/run.h"
#include "io/console.h"
#include "io/file_system.h"
#include "plot/plplot_plotter.h"

namespace {

void set_environment(const char* name, const char* value) { ::setenv(name, value, 1); }

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  kvr::Console console(std::cin, std::cout);
  kvr::PlplotPlotter plotter;
  kvr::DiskFileSystem files;
  const int status = kvr::run_analysis(console, plotter, files, set_environment);
  std::cout.flush();
  return status;
}
