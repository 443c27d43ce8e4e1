// Fuzzes the free-format series reader, including its format texts.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "formats/datar.h"
#include "io/line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream console;
  kvr::LineReader lines(in);
  std::string buffer;
  std::vector<float> values;
  for (int calls = 0; calls < 1000; ++calls) {
    int count = 0;
    int first_year = 0;
    const kvr::DatarStatus status =
        kvr::datar(lines, 10001, &buffer, &count, &values, &first_year, console);
    if (status == kvr::DatarStatus::kEndOfFile) break;
  }
  return 0;
}
