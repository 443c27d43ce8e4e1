// Fuzzes the column-table reader and the recognition of a column table by its first lines.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "formats/column_table.h"
#include "table_reading_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  (void)kvr::looks_like_column_table(bytes, true);
  (void)kvr::looks_like_column_table(std::string_view(bytes).substr(0, size / 2), false);
  std::istringstream in(bytes);
  kvr::fuzz::check_table_reading(kvr::read_column_table(in));
  return 0;
}
