#pragma once

// Series of a decade-format file as plain columns of values, to compare the readings of the
// same series from a NOAA template or a column table with them, and to write such tables.

#include <istream>
#include <string>
#include <vector>

#include "formats/table_series.h"

namespace kvr::test {

/// A series as the decade reader stores it: values[i] is the value (mm, or kMissing) of year
/// first_year + i, in the units of its end marker.
struct DecadeColumn {
  std::string id;  // without the blanks that pad it to 8 characters
  int first_year = 0;
  int units_per_mm = 100;  // 100: 0.01 mm (999), 1000: 0.001 mm (-9999)
  std::vector<float> values;
};

/// Every series of a decade-format file, read by the decade reader.
std::vector<DecadeColumn> decade_columns(std::istream& in);

/// How a column table is exported.
struct TableForm {
  const char* name;
  char separator;        // ',', ';', '\t' or ' '
  bool quoted_names;     // names (and row names) in double quotes
  bool year_row_names;   // the years as row names: no year column
  bool row_numbers;      // R's row numbers 1, 2, ... before a year column
  bool header_row_name;  // a header cell over the row names (write.csv's "")
  const char* missing;   // a missing value: "NA", "" ...
  bool decimal_comma;
};

/// The series as a column table of the given form, values in mm with the digits of their
/// units (trailing zeros dropped, as R writes them), years from the first to the last year.
std::string column_table_text(const std::vector<DecadeColumn>& series, const TableForm& form);

/// What differs between a series read from a table and the same series of the decade file,
/// year by year; empty when nothing does. `above_zero`: compare only the values above 0 in
/// either, and the first and last years (a NOAA template writes a missing value as 0);
/// otherwise every year, missing ones included.
std::string difference(const DecadeColumn& decade, const TableSeries& table, bool above_zero);

}  // namespace kvr::test
