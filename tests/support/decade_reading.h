#pragma once

// Whole decade-format texts read through SeriesReader (or as the run reads its input) and
// written through trrw_write.

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/dimensions.h"
#include "formats/trrw.h"
#include "formats/trrw_write.h"
#include "measurements/measurement_file.h"

namespace kvr::test {

/// Everything that reading a whole text through SeriesReader gives.
struct DecadeReading {
  std::vector<TrrwSeries> series;       // each series handed out, too long ones included
  std::vector<SeriesRead::Kind> kinds;  // one per next(); the last ended the reading
  std::vector<std::vector<std::string>> text_records;  // one per next()
  std::vector<DatarStatus> free_format;                // one per next()
  std::vector<ReadAnomaly> anomalies;                  // of every next(), in order
  std::optional<CutSeries> cut;                        // from the last next()
};

/// Reads series until next() hands out neither a series nor a series too long.
DecadeReading read_decade(std::istream& in, int max_length = kMaxPositions);
DecadeReading read_decade(const std::string& text, int max_length = kMaxPositions);

/// A whole measurement file's text read as the run reads its input.
MeasurementReading read_measurements(const std::string& bytes);

/// The records of `series`, and of every series of `all` one after the other.
std::string write_decade(WriteMode mode, const TrrwSeries& series, std::string_view tag = "   ");
std::string write_decade(WriteMode mode, const std::vector<TrrwSeries>& all);

}  // namespace kvr::test
