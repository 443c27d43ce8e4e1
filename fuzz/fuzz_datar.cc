// Fuzzes the free-format series reader, including its format texts.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "formats/datar.h"
#include "io/line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  kvr::LineReader lines(in);
  for (int calls = 0; calls < 1000; ++calls) {
    const kvr::FreeFormatSeries series = kvr::datar(lines, 10001, "");
    if (series.status == kvr::DatarStatus::kEndOfFile) break;
  }
  return 0;
}
