#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "formats/table_cells.h"
#include "formats/table_lines.h"
#include "formats/table_series.h"

namespace kvr {

/// Where the cells of a table's rows stand, as its header gives them:
///
///   [row name] year  series 1  series 2 ...   (cells of one row, `width` of them)
///              ^ year_cell     ^ year_cell + 1
///
/// A row holds `width` cells; empty cells after them (a separator at the end of every line)
/// are no cells.
struct TableLayout {
  char separator = '\t';
  std::size_t width = 0;
  std::size_t year_cell = 0;
  std::vector<std::string> ids;  // the series, one per cell after the year cell
  int header_line = 0;
  CellRules rules;
  bool check_units = false;  // warn when every value looks like a count of 0.01 or 0.001 mm
};

/// Sets the refusal of *reading (its other facts cleared) and drops any series read.
void refuse_table(TableReading* reading, TableRefusalKind kind, int line_number);

/// Checks the `series` columns of a header: at least one, at most the program's limit, each
/// named (layout.ids may hold only the first names of a header over the limit). False, with
/// the refusal in *reading, otherwise.
[[nodiscard]] bool check_table_header(const TableLayout& layout, std::size_t series,
                                      TableReading* reading);

/// Reads the rows of a table, one call per row, into one column of values per series.
///
/// A row's year must be a whole number above the year of the row before; years left out
/// between two rows are missing in every series. Each value is kept as an exact integer of
/// 0.001 mm; at the end a series whose values have no digit beyond the second decimal place is
/// given in 0.01 mm. A series runs from its first value to its last.
class TableBody {
 public:
  explicit TableBody(TableLayout layout);

  /// Reads the row `line`. False when the row refuses the table (reading->refusal is set).
  [[nodiscard]] bool add_row(std::string_view line, int line_number, TableReading* reading);
  /// Hands the series that hold a value to *reading, with the warnings of every column, in
  /// the order of their lines; a table without any value is refused.
  void finish(TableReading* reading);

 private:
  // The first of the cells of one kind in a column, and how many there were.
  struct Tally {
    int count = 0;
    int year = 0;
    int line = 0;
    std::string text;
    void note(int at_year, int at_line, std::string_view cell);
  };
  struct Column {
    int first_year = 0;
    int first_line = 0;
    std::vector<std::int32_t> thousandths;  // from first_year; empty while no value came
    int places = 0;                         // the finest decimal place of its values
    Tally codes;
    std::vector<std::string> code_words;  // the distinct codes, the first few
    Tally no_numbers;
    Tally rounded;
  };

  void add_value(Column& column, const CellValue& value, int year, int line);
  void add_warnings(const Column& column, const std::string& id, TableReading* reading) const;

  TableLayout layout_;
  std::vector<Column> columns_;
  Cells cells_;
  bool have_row_ = false;
  int last_year_ = 0;
  int last_line_ = 0;
  bool have_value_ = false;
  int first_value_year_ = 0;
  int values_above_zero_ = 0;
  bool all_whole_and_large_ = true;
};

/// Feeds the rows of `lines` to `body` until the end of the file, passing over blank lines and
/// lines starting with '#', then finishes it. A line too long to be a row refuses the table.
/// Stops after `max_rows` rows (to judge the first lines of a file). Returns the number of rows
/// read.
int read_rows(TableLineReader& lines, TableBody& body, TableReading* reading,
              int max_rows = std::numeric_limits<int>::max());

/// Puts the warnings of *reading in the order of their lines.
void order_table_warnings(TableReading* reading);

/// True for a line of blanks only.
bool blank_table_line(std::string_view line);

}  // namespace kvr
