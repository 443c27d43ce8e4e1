#pragma once

#include <string>
#include <vector>

#include "measurements/summary.h"

namespace kvr {

/// The lines that show `summary`, without line ends: the limit messages; the framed block
/// with the series count alone; the unreadable series' sqc record and "error reading sqc)";
/// or the framed block with the optimum common interval, which has one more line after the
/// maximum length, the number of missing values, when there are any.
std::vector<std::string> summary_lines(const DataSummary& summary);

}  // namespace kvr
