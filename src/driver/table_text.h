#pragma once

#include <string>

#include "formats/table_report.h"

namespace kvr {

/// The warning line of a NOAA template's or a column table's reader, with the cells it quotes
/// shown as the console shows text.
std::string table_warning_line(const TableWarning& warning);

/// Why such a reader refuses the file, as one sentence after a blank.
std::string table_refusal_text(const TableRefusal& refusal);

}  // namespace kvr
