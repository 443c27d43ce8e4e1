#include "driver/read_input.h"

#include <string>

#include "driver/reading_text.h"
#include "driver/table_text.h"

namespace kvr {

bool show_reading(Console& console, const MeasurementReading& reading) {
  const std::string echo = echo_text(reading) + source_echo(source_lines(reading));
  // The echo's text records start with an empty line of their own.
  bool on_prompt_line = echo.empty();
  const auto line = [&](const std::string& text) {
    if (on_prompt_line) console.line("");
    on_prompt_line = false;
    console.line(text);
  };
  console.out() << echo;
  for (const TableWarning& warning : reading.table_warnings) line(table_warning_line(warning));
  for (const ReadAnomaly& warning : reading.warnings) line(warning_line(warning));
  if (const std::string why = refusal_line(reading.refusal); !why.empty()) line(why);
  return reading.usable;
}

}  // namespace kvr
