#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

/// The cells of one line of a table, split at `separator`: a tab, a comma, a semicolon, or a
/// blank for cells separated by runs of blanks (R's write.table). A cell in double quotes may
/// hold the separator; "" inside it stands for one quote. Blanks around a cell and its quotes
/// are dropped.
///
///   "",  "1901" ,1.25,NA  ->  [] [1901] [1.25] [NA]          (separator ',')
struct Cells {
  std::vector<std::string_view> cells;  // the first `cap` cells, views into the line
  std::size_t total = 0;                // every cell of the line
  std::size_t filled = 0;               // cells up to the last one that is not empty
};

/// Splits `line` into *out, keeping at most `cap` cells, so that a line of a million cells
/// costs one pass and no memory.
void split_cells(std::string_view line, char separator, std::size_t cap, Cells* out);

/// The separator of a header line: a tab, a semicolon or a comma outside quotes, in that order
/// of preference; a blank when there is none and the line starts with a quoted name; 0 else.
char header_separator(std::string_view line);

/// A name cell as text: "" inside a quoted name stands for one quote.
std::string cell_name(std::string_view cell);

/// What a value cell holds.
enum class CellKind {
  kValue,     // a number of 0 or more
  kEmpty,     // missing: empty, NA, NaN, NULL (any case) or one of the caller's missing words
  kCode,      // missing: a negative number, a missing code as in decade files
  kNoNumber,  // anything else, a number too large for a ring width included
};

/// A value read as an exact integer of 0.001 mm from its decimal text, without floating point.
struct CellValue {
  std::int32_t thousandths = 0;  // rounded half up when the text is finer than 0.001
  int places = 0;                // the finest decimal place holding a digit other than 0
};

/// How value cells are read.
struct CellRules {
  bool decimal_comma = false;              // a comma is a decimal mark, like a point
  std::vector<std::string> missing_words;  // further words for a missing value
};

/// Reads a value cell: an optional sign, digits with one decimal mark, an optional exponent
/// (1e-04). *value is set for kValue.
[[nodiscard]] CellKind read_value_cell(std::string_view cell, const CellRules& rules,
                                       CellValue* value);

/// Reads a year cell: an optional sign and up to 7 digits. False otherwise.
[[nodiscard]] bool read_year_cell(std::string_view cell, int* year);

/// True when `a` and `b` are the same letters, in any case.
[[nodiscard]] bool same_letters(std::string_view a, std::string_view b);

/// `text` without blanks and tabs at either end.
std::string_view trim_blanks(std::string_view text);

}  // namespace kvr
