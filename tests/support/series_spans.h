#pragma once

// Series as their id, first year and length only, for the data summary, which reads no values.

#include <string>
#include <vector>

#include "measurements/measurement_set.h"

namespace kvr::test {

struct Span {
  const char* id;
  int first_year;
  int length;
};

/// A set with the given series and no value grid at all: the summary must not read values.
MeasurementSet set_of_spans(const std::vector<Span>& spans);

/// The series of a measurement file, found apart from the program's reader: a minimal
/// decade-format reader that knows the three column layouts, the first record's number of
/// slots and the end markers. The ids go to *ids (a span's id is left null: point it there).
std::vector<Span> read_spans(const std::string& path, std::vector<std::string>* ids);

}  // namespace kvr::test
