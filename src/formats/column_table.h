#pragma once

#include <istream>
#include <string_view>

#include "formats/table_series.h"

namespace kvr {

/// True when `head`, the first bytes of a file (`whole`: all of it), reads as a column table
/// (see read_column_table) that is no NOAA template: a header of names, then at least one row
/// of a year and numbers or missing cells, and no cell that is no number, in the first rows
/// judged. A later row that the reader refuses (out of year order, of too many cells) still
/// makes a table, so that the refusal names its line.
[[nodiscard]] bool looks_like_column_table(std::string_view head, bool whole);

/// Reads a column table of ring widths in mm, as spreadsheets and R export them:
///
///   # any comment lines                      passed over, as are blank lines
///   "year","X01","X02"                       header: a year column, named or not, then one
///   1901,1.25,NA                             name per series; then one row per year
///
///   "","X01","X02"    /  "X01"<TAB>"X02"     R with the years as row names (write.csv: an
///   "1901",1.25,NA       "1901"<TAB>1.25...  empty first name; write.table: a header one
///                                            cell shorter than the rows)
///   "","year","X01"                          R's row numbers before a year column (named
///   "1",1901,1.25                            year, yr, date, Jahr, age_CE ...): passed over
///   Jahr;X01;X02                             a spreadsheet's export with semicolons
///   1901;1,25;                               and decimal commas
///
/// Cells are separated by tabs, semicolons or commas (the first of these found in the header,
/// outside quotes), or by blanks when the header's names are quoted and none of them is found.
/// A comma is a decimal mark unless it separates cells. Empty cells, NA, NaN and negative
/// codes are missing; 0 is a ring of 0. When every value is a whole number of 20 or more, the
/// values are still read as mm, with a warning that they look like 0.01 or 0.001 mm. Rows out
/// of year order, a repeated year, and a row of more or fewer cells than the header gives are
/// refused with the line number.
[[nodiscard]] TableReading read_column_table(std::istream& in);

}  // namespace kvr
