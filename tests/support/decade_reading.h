#pragma once

// Whole decade-format texts read through trrw_read and written through trrw_write.

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "common/dimensions.h"
#include "formats/trrw.h"
#include "formats/trrw_write.h"

namespace kvr::test {

/// Everything that reading a whole text through trrw_read gives.
struct DecadeReading {
  std::vector<TrrwSeries> series;    // each series returned, too long ones included
  std::vector<TrrwStatus> statuses;  // one per call; the last one ended the reading
  TrrwReadState state;               // after the last call
};

/// Reads series until a call returns neither kSeries nor kSeriesTooLong.
DecadeReading read_decade(std::istream& in, ReadMode mode = ReadMode::kMeasurements,
                          int max_length = kMaxPositions);
DecadeReading read_decade(const std::string& text, ReadMode mode = ReadMode::kMeasurements,
                          int max_length = kMaxPositions);

/// The records of `series`, and of every series of `all` one after the other.
std::string write_decade(WriteMode mode, const TrrwSeries& series, std::string_view tag = "   ");
std::string write_decade(WriteMode mode, const std::vector<TrrwSeries>& all);

}  // namespace kvr::test
