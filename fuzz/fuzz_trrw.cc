// Fuzzes the decade reader: every series of the input is read until the end of the file or a
// refusal. The input is then read as the program reads a measurement file: its kind judged (a
// NOAA template or a column table goes to its reader, from the seeds of both kinds here), the
// series joined and settled, the measurement set filled and shown.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/dimensions.h"
#include "driver/read_input.h"
#include "formats/trrw.h"
#include "formats/trrw_write.h"
#include "io/console.h"
#include "io/line_reader.h"
#include "measurements/measurement_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  kvr::LineReader lines(in);
  kvr::SeriesReader reader(lines, kvr::kMaxPositions);
  for (int calls = 0; calls < 100000; ++calls) {
    const kvr::SeriesRead read = reader.next();
    if (read.kind != kvr::SeriesRead::Kind::kSeries) break;
    // Whatever was read must write back without trouble.
    std::ostringstream out;
    kvr::trrw_write(out, kvr::WriteMode::kMeasurements, read.series, "   ");
  }
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  std::istringstream no_answers;
  std::ostringstream screen;
  kvr::Console plain(no_answers, screen);
  const kvr::MeasurementReading reading = kvr::read_measurement_file(file);
  if (kvr::show_reading(plain, reading) && reading.set.count() < 1) __builtin_trap();
  // A table's series come in double precision too, one per series of the set.
  if (reading.kind != kvr::FileKind::kMeasurements &&
      reading.measured.size() != static_cast<std::size_t>(reading.set.count())) {
    __builtin_trap();
  }
  return 0;
}
