#include "formats/column_table.h"

#include <algorithm>
#include <limits>
#include <string>

#include "common/dimensions.h"
#include "formats/noaa_template.h"
#include "formats/table_body.h"
#include "formats/table_cells.h"
#include "formats/table_lines.h"
#include "io/view_input.h"

namespace kvr {
namespace {

// Rows of a head judged at most.
constexpr int kRowsJudged = 50;

// Cells of a header or first row kept: enough to see that it names too many series.
constexpr std::size_t kHeaderCells = kMaxSeries + 3;

// The names a year column goes by.
bool is_year_name(std::string_view name) {
  for (const std::string_view year :
       {"year", "years", "yr", "yrs", "age_CE", "age_AD", "date", "Jahr", "annee", "anno"}) {
    if (same_letters(name, year)) return true;
  }
  return false;
}

// The next line that is neither blank nor a comment, into *line; false at the end of the
// file, or when the line is too long to be read whole (then the reading is refused).
bool next_content_line(TableLineReader& lines, std::string* line, TableReading* reading) {
  while (lines.next(line)) {
    if (lines.cut()) {
      refuse_table(reading, TableRefusalKind::kLineTooLong, lines.line_number());
      return false;
    }
    if (!blank_table_line(*line) && (*line)[0] != '#') return true;
  }
  return false;
}

// Where the year and the series stand, from the header's names and the first row's cells.
void lay_out(const Cells& header, const Cells* first_row, TableLayout* layout) {
  const std::size_t named = header.filled;
  // R's write.table with row names: a header one cell shorter than the rows. A row whose one
  // more cell is empty has it after a separator at its end, unless the header names a series
  // first, without a year column.
  const bool row_names =
      first_row != nullptr && (first_row->filled == named + 1 ||
                               (first_row->total == header.total + 1 && named >= 1 &&
                                !header.cells[0].empty() && !is_year_name(header.cells[0])));
  layout->width = row_names ? named + 1 : named;
  std::size_t first_name = 1;
  if (row_names) {
    first_name = named >= 1 && is_year_name(header.cells[0]) ? 1 : 0;
    layout->year_cell = first_name;
  } else if (named >= 2 && header.cells[0].empty() && is_year_name(header.cells[1])) {
    // write.csv's row numbers, then a year column.
    layout->year_cell = 1;
    first_name = 2;
  }
  for (std::size_t k = first_name; k < std::min(named, header.cells.size()); ++k) {
    layout->ids.push_back(cell_name(header.cells[k]));
  }
}

// A first line of numbers is no header: the table has none.
bool numbers_only(const Cells& header) {
  int year = 0;
  CellValue value;
  return header.cells.size() >= 2 && read_year_cell(header.cells[0], &year) &&
         read_value_cell(header.cells[1], CellRules{}, &value) != CellKind::kNoNumber;
}

// Reads the table of `lines`, at most `max_rows` rows of it; *rows: the rows read.
TableReading read_table(TableLineReader& lines, int max_rows, int* rows) {
  TableReading reading;
  *rows = 0;
  std::string header_line;
  if (!next_content_line(lines, &header_line, &reading)) {
    if (!reading.refused())
      refuse_table(&reading, TableRefusalKind::kNoHeader, lines.line_number());
    return reading;
  }
  TableLayout layout;
  layout.header_line = lines.line_number();
  layout.separator = header_separator(header_line);
  if (layout.separator == 0) layout.separator = '\t';
  layout.rules.decimal_comma = layout.separator != ',';
  layout.check_units = true;
  Cells header;
  split_cells(header_line, layout.separator, kHeaderCells, &header);
  if (numbers_only(header)) {
    refuse_table(&reading, TableRefusalKind::kNoHeader, layout.header_line);
    return reading;
  }

  std::string row;
  const bool have_row = next_content_line(lines, &row, &reading);
  if (reading.refused()) return reading;
  Cells first_row;
  if (have_row) split_cells(row, layout.separator, kHeaderCells, &first_row);
  lay_out(header, have_row ? &first_row : nullptr, &layout);
  if (!check_table_header(layout, layout.width - std::min(layout.width, layout.year_cell + 1),
                          &reading)) {
    return reading;
  }
  TableBody body(std::move(layout));
  if (have_row) {
    if (!body.add_row(row, lines.line_number(), &reading)) return reading;
    *rows = 1;
  }
  *rows += read_rows(lines, body, &reading, max_rows - *rows);
  return reading;
}

}  // namespace

bool looks_like_column_table(std::string_view head, bool whole) {
  if (looks_like_noaa_template(head, whole)) return false;
  if (!whole) head = head.substr(0, head.find_last_of("\r\n") + 1);
  ViewInput in(head);
  TableLineReader lines(in);
  int rows = 0;
  const TableReading reading = read_table(lines, kRowsJudged, &rows);
  // After a row of a year and values, a row that the reader refuses (out of year order, of
  // more cells than the header) is an error of a table, which its refusal names.
  if (rows == 0) return false;
  return std::none_of(reading.warnings.begin(), reading.warnings.end(),
                      [](const TableWarning& w) { return w.kind == TableWarningKind::kNoNumber; });
}

TableReading read_column_table(std::istream& in) {
  TableLineReader lines(in);
  int rows = 0;
  return read_table(lines, std::numeric_limits<int>::max(), &rows);
}

}  // namespace kvr
