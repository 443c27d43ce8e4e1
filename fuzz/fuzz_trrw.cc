// Fuzzes the decade reader in one mode (KVR_FUZZ_MODE_INDEX selects "ir", else "mr"): every
// series of the input is read until the end of the file or a refusal. In mode "mr" the input
// is then read as the program reads a measurement file: its kind judged, the series joined
// and settled, the measurement set filled.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/dimensions.h"
#include "data/trrw.h"
#include "driver/read_input.h"
#include "io/console.h"
#include "io/line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream console;
  kvr::LineReader lines(in);
  kvr::TrrwText text;
  kvr::TrrwSeries series;
  kvr::DroppedSeries dropped;
  kvr::ReadReport report;
#ifdef KVR_FUZZ_MODE_INDEX
  const kvr::TrrwMode mode = kvr::TrrwMode::kIndexRead;
#else
  const kvr::TrrwMode mode = kvr::TrrwMode::kMeasurementRead;
#endif
  int counter = 0;
  for (int calls = 0; calls < 100000; ++calls) {
    const kvr::TrrwStatus status = kvr::trrw_read(lines, mode, kvr::kMaxPositions, &series,
                                                  &counter, &text, console, &dropped, &report);
    if (status != kvr::TrrwStatus::kSeries) break;
    // Whatever was read must write back without trouble.
    std::ostringstream out;
    kvr::trrw_write(out,
                    mode == kvr::TrrwMode::kIndexRead ? kvr::TrrwMode::kIndexWrite
                                                      : kvr::TrrwMode::kMeasurementWrite,
                    series, "   ");
  }
#ifndef KVR_FUZZ_MODE_INDEX
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  std::istringstream no_answers;
  std::ostringstream screen;
  kvr::Console plain(no_answers, screen);
  kvr::MeasurementSet set;
  kvr::TrrwText read_text;
  if (kvr::read_measurements(file, plain, &set, &read_text) && set.count() < 1) __builtin_trap();
#endif
  return 0;
}
