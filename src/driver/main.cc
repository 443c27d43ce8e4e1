#include <iostream>
#include <string>

#include "driver/run.h"
#include "io/console.h"
#include "io/file_system.h"
#include "plot/plplot_fonts.h"
#include "plot/plplot_plotter.h"

int main() {
  std::ios::sync_with_stdio(false);
  const std::string font_folder = kvr::set_up_plplot_fonts();
  kvr::Console console(std::cin, std::cout);
  kvr::PlplotPlotter plotter;
  kvr::DiskFileSystem files;
  const int status = kvr::run_analysis(console, plotter, files, font_folder);
  std::cout.flush();
  return status;
}
