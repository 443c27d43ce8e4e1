// Fuzzes the decade reader in one mode (KVR_FUZZ_MODE_INDEX selects "ir", else "mr"): every
// series of the input is read until the end of the file or a refusal. In mode "mr" the input
// is then read as the program reads a measurement file: its kind judged, the series joined
// and settled, the measurement set filled.

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
  kvr::TrrwReadState state;
  kvr::TrrwSeries series;
#ifdef KVR_FUZZ_MODE_INDEX
  const kvr::ReadMode mode = kvr::ReadMode::kIndex;
  const kvr::WriteMode write_mode = kvr::WriteMode::kIndex;
#else
  const kvr::ReadMode mode = kvr::ReadMode::kMeasurements;
  const kvr::WriteMode write_mode = kvr::WriteMode::kMeasurements;
#endif
  for (int calls = 0; calls < 100000; ++calls) {
    const kvr::TrrwStatus status = kvr::trrw_read(lines, mode, kvr::kMaxPositions, &series, &state);
    if (status != kvr::TrrwStatus::kSeries) break;
    // Whatever was read must write back without trouble.
    std::ostringstream out;
    kvr::trrw_write(out, write_mode, series, "   ");
  }
#ifndef KVR_FUZZ_MODE_INDEX
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  std::istringstream no_answers;
  std::ostringstream screen;
  kvr::Console plain(no_answers, screen);
  const kvr::MeasurementReading reading = kvr::read_measurement_file(file);
  if (kvr::show_reading(plain, reading) && reading.set.count() < 1) __builtin_trap();
#endif
  return 0;
}
