// Fuzzes a whole in-process run of a small measurement file with fuzzed answers. The files
// live in memory and plots go to a plotter that draws nothing.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "driver/run.h"
#include "io/console.h"
#include "memory_file_system.h"
#include "plot/plotter.h"
#include "small_run_file.h"

namespace {

class NullPlotter : public kvr::Plotter {
 public:
  bool window_available() override { return false; }
  bool device_installed(const std::string&) override { return true; }
  void plsdev(const std::string&) override {}
  void plsfnam(const std::string&) override {}
  void plscol0(int, int, int, int) override {}
  void plscolbg(int, int, int) override {}
  void plspage(double, double, int, int, int, int) override {}
  void plinit() override {}
  void plcol0(int) override {}
  void plssub(int, int) override {}
  void pladv(int) override {}
  void plvpor(double, double, double, double) override {}
  void plwind(double, double, double, double) override {}
  void plaxes(double, double, const std::string&, double, int, const std::string&, double,
              int) override {}
  void pllab(const std::string&, const std::string&, const std::string&) override {}
  void plmtex(const std::string&, double, double, double, const std::string&) override {}
  void plline(int, const float*, const float*) override {}
  void pllsty(int) override {}
  void plwid(double) override {}
  void plstyl(int, const int*, const int*) override {}
  void plend() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string measurements = kvr::fuzz::small_run_file();
  kvr::MemoryFileSystem files;
  files.files[kvr::fuzz::kSmallRunFileName] = measurements;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  kvr::Console console(in, out);
  NullPlotter plotter;
  (void)kvr::run_analysis(console, plotter, files, "fonts");
  return 0;
}
