#pragma once

#include <string>
#include <vector>

namespace kvr {

/// Something met while reading a NOAA template file or a column table that the reader mended
/// or that the user should know; the caller prints each as a warning (describe()).
enum class TableWarningKind {
  kUncommentedLine,  // a line before the data header without its '#' (text): passed over
  kNotMillimeters,   // a variable (text) measured in a unit (unit) other than millimeter, in
                     // `count` series from `id`: the values are read as they are
  kLooksLikeUnits,   // every value of the table (count) is a whole number of 20 or more
  kMissingCodes,     // negative values (codes) read as missing: count, first year
  kNoNumber,         // cells that hold no number (the first in text): missing; count, year
  kRounded,          // values finer than 0.001 mm (the first in text) rounded to 0.001 mm
  kDuplicateId,      // the name of column `other` again, in column `count`
  kNoValues,         // a series without a single value (count: missing codes met): left out
};

struct TableWarning {
  TableWarningKind kind = TableWarningKind::kUncommentedLine;
  int line_number = 0;
  std::string id;                  // the series concerned; empty for the whole file
  int year = 0;                    // the year of the first value concerned
  int count = 0;                   // values, series or a column number, as the kind says
  int other = 0;                   // kDuplicateId: the earlier column's number
  std::string text;                // a cell or line as read, a variable's description
  std::string unit;                // kNotMillimeters: the unit as the file names it
  std::vector<std::string> codes;  // kMissingCodes: the codes met, in order of appearance
};

/// Why a file of either kind cannot be read. The facts the message needs come with it.
enum class TableRefusalKind {
  kNone,
  kNoHeader,        // no header row (column table) or data header (template) before the end
  kStrayLines,      // more than kMaxStrayLines lines without '#' before the data header
  kNotCommonEra,    // years that are not CE/AD (text: the unit or year column named)
  kNoSeriesColumn,  // a header that names no series: a table of one column
  kUnnamedColumn,   // the header leaves series column `count` without a name
  kTooManySeries,   // more series columns (count) than the program holds
  kTooManyCells,    // a row of more cells (count) than the header gives (expected)
  kTooFewCells,     // a row of fewer cells (count) than the header gives (expected)
  kYearNotNumber,   // a row whose year cell (text) is no whole number
  kYearBack,        // a row whose year goes back below the year of the row before
  kRepeatedYear,    // a row of the same year as the row before
  kSpanTooLong,     // values from `other_year` to `year`: more years than a series may span
  kLineTooLong,     // a line longer than a row can be
  kNoValues,        // no series of the file holds a value
};

struct TableRefusal {
  TableRefusalKind kind = TableRefusalKind::kNone;
  int line_number = 0;
  int year = 0;
  int other_year = 0;  // kYearBack, kRepeatedYear: the year of the row before
  int other_line = 0;  // kYearBack, kRepeatedYear: the line of the row before
  int count = 0;
  int expected = 0;
  std::string text;
};

/// Lines without '#' passed over before a template's data header, at most.
inline constexpr int kMaxStrayLines = 25;

/// One warning line for `warning`, with the leading blank of every console line, e.g.
/// ` Warning: line 214, series "BabJ04A": missing-value code -999 in 5 values from year 1900,
/// read as missing`.
std::string describe(const TableWarning& warning);

/// The reason for a refusal, as one sentence, e.g. "Line 12 goes back to the year 1901 after
/// the year 1905 of line 11; the rows of a table must follow the years in order.".
std::string describe(const TableRefusal& refusal);

}  // namespace kvr
