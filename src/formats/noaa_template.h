#pragma once

#include <istream>
#include <string_view>
#include <vector>

#include "formats/noaa_metadata.h"
#include "formats/table_series.h"

namespace kvr {

/// Everything a NOAA template file gives: its metadata, its variables and its series.
struct NoaaReading {
  NoaaMetadata metadata;
  std::vector<NoaaVariable> variables;
  TableReading table;
};

/// True when `head`, the first bytes of a file (`whole`: all of it), begins like a NOAA
/// template file: its first line that is not blank starts with '#', and a '#' line before the
/// data names the template ("Template Version", "Paleoclimatology", "NOAA_Landing_Page") or
/// lists the year column as a variable ("## age_").
[[nodiscard]] bool looks_like_noaa_template(std::string_view head, bool whole);

/// Reads a NOAA template file, as the archive writes it:
///
///   # Key: value                       metadata (any number of '#' lines)
///   ## age_CE<TAB>age,,,year Common Era,,tree ring,,,N,
///   ## X01_raw<TAB>total ring width,,,millimeter,,...        one line per variable
///   # Missing_Values: NA
///   age_CE<TAB>X01_raw<TAB>X02_raw                           the data header
///   1901<TAB>1.25<TAB>NA                                     one row per year
///
/// The data header is the first line without '#' whose first cell is the year column's name
/// (the first variable, age_CE, age_AD, year); lines without '#' before it (a citation run onto
/// a second line) are passed over with a warning, at most kMaxStrayLines of them. Rows are
/// split at tabs (at blanks when the header has no tab); blanks after a year and a tab at the
/// end of a line are no cells. Empty cells, NA, NaN, the declared Missing_Values word and
/// negative codes are missing; 0 is a ring of 0. Series ids are the column names without
/// "_raw". A variable in a unit other than millimeter is read as it is, with a warning; years
/// other than CE/AD (Time_Unit, or an age_BP column) are refused.
[[nodiscard]] NoaaReading read_noaa_template(std::istream& in);

}  // namespace kvr
