#pragma once

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "data/line_reader.h"

namespace kvr {

/// The five ways of moving one series through a decade-format file.
enum class TrrwMode {
  kMeasurementRead,   // "mr": measurement records, 999 / -9999 end markers
  kIndexRead,         // "ir": index records with sample depth
  kMeasurementWrite,  // "mw"
  kIndexWrite,        // "iw"
  kChronologyWrite,   // "cr": index records after an index header record
};

/// The one-series transfer buffer. values[i - 1] is value i; depths[i - 1] its sample depth
/// (index modes only). `id` is 8 characters for measurement series, 6 for a chronology.
struct TrrwSeries {
  std::string id;
  int first_year = 0;
  int count = 0;  // on reading -999 at the end of the file
  std::vector<float> values;
  std::vector<int> depths;
};

/// Text records kept by the caller between read calls: the title (first text record met in
/// the latest call, blank when the call met none) and the first three text records of the
/// file. Each is 85 characters, blank padded; a stored record holds the line's first 80.
struct TrrwText {
  std::string title = std::string(85, ' ');
  std::array<std::string, 3> header_lines = {std::string(85, ' '), std::string(85, ' '),
                                             std::string(85, ' ')};
};

enum class TrrwStatus {
  kSeries,            // one series read into the buffer
  kEndOfFile,         // no further series; count and the series counter are -999
  kTooManyTextLines,  // "sbr trrw:  over 25 text lines" has been printed; the run must end
  kSeriesTooLong,     // more values than max_length: id, first year and count (the full
                      // number of values, only max_length of them stored) describe it
};

/// A series the file ended inside, without its end marker; it is not returned.
struct DroppedSeries {
  std::string id;
  int first_year = 0;
  int line_number = 0;  // line of its first record
};

/// Reads one series (modes "mr" and "ir"). `series_counter` is kept by the caller between
/// calls, starting at 0. Text records are echoed to `console` (and nowhere else: the program
/// keeps no listing file). `dropped` is set when the file ends inside a series.
[[nodiscard]] TrrwStatus trrw_read(LineReader& in, TrrwMode mode, int max_length,
                                   TrrwSeries* series, int* series_counter, TrrwText* text,
                                   std::ostream& console, DroppedSeries* dropped);

/// Writes one series (modes "mw", "iw", "cr"); nothing when series.count < 1. `record_tag`
/// (3 characters) goes after full decade records.
void trrw_write(std::ostream& out, TrrwMode mode, const TrrwSeries& series,
                std::string_view record_tag);

}  // namespace kvr
