#include "driver/read_input.h"

#include <string>

namespace kvr {

bool show_reading(Console& console, const MeasurementReading& reading) {
  // The echo's text records start with an empty line of their own.
  bool on_prompt_line = reading.echo.empty();
  const auto line = [&](const std::string& text) {
    if (on_prompt_line) console.line("");
    on_prompt_line = false;
    console.line(text);
  };
  console.out() << reading.echo;
  for (const ReadAnomaly& warning : reading.warnings) line(describe(warning));
  if (!reading.refusal.empty()) line(reading.refusal);
  return reading.usable;
}

}  // namespace kvr
