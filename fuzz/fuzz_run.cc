// Fuzzes a whole in-process run of a small measurement file with fuzzed answers. The files
// live in memory and plots go to a plotter that draws nothing.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "driver/console.h"
#include "driver/memory_file_system.h"
#include "driver/run.h"
#include "plot/plotter.h"

namespace {

class NullPlotter : public kvr::Plotter {
 public:
  bool window_available() override { return false; }
  void plsdev(const std::string&) override {}
  void plsfnam(const std::string&) override {}
  void plscol0(int, int, int, int) override {}
  void plscolbg(int, int, int) override {}
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

void ignore_environment(const char*, const char*) {}

// Twelve series over 1901-1990 with one series in 0.001 mm and a zero value.
std::string small_file() {
  std::string file = "FUZZ01 1 A small file for fuzzed answers\n";
  for (int j = 0; j < 12; ++j) {
    const int first = 1901 + 3 * j;
    char line[96];
    std::string id = "FZ" + std::to_string(10 + j) + "  ";
    int year = first;
    int slots = 10 - first % 10;
    int k = 0;
    const int length = 30 + 4 * j;
    for (;;) {
      std::string record;
      std::snprintf(line, sizeof line, "%-8.8s%4d", id.c_str(), year);
      record = line;
      bool done = false;
      for (int s = 0; s < slots; ++s) {
        if (k == length) {
          std::snprintf(line, sizeof line, "%6d", j == 5 ? -9999 : 999);
          record += line;
          done = true;
          break;
        }
        std::snprintf(line, sizeof line, "%6d", k == 3 ? 0 : 50 + (k * 37 + j * 11) % 200);
        record += line;
        ++k;
      }
      file += record + "\n";
      if (done) break;
      year += slots;
      slots = 10;
    }
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string measurements = small_file();
  kvr::MemoryFileSystem files;
  files.files["small.rwl"] = measurements;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  kvr::Console console(in, out);
  NullPlotter plotter;
  (void)kvr::run_analysis(console, plotter, files, ignore_environment);
  return 0;
}
