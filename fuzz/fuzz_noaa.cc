// Fuzzes the NOAA template reader and the recognition of a template by its first lines.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "formats/noaa_template.h"
#include "table_reading_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  (void)kvr::looks_like_noaa_template(bytes, true);
  (void)kvr::looks_like_noaa_template(std::string_view(bytes).substr(0, size / 2), false);
  std::istringstream in(bytes);
  const kvr::NoaaReading reading = kvr::read_noaa_template(in);
  kvr::fuzz::check_table_reading(reading.table);
  return 0;
}
