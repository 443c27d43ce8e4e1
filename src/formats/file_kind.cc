#include "formats/file_kind.h"

#include <cctype>
#include <charconv>
#include <sstream>
#include <string>
#include <vector>

#include "formats/column_view.h"
#include "formats/measurement_record.h"
#include "io/line_reader.h"

namespace kvr {
namespace {

// Lines judged at most, of either kind.
constexpr int kLinesJudged = 50;

// The lines of `head` as the line reader gives them, tabs kept (they separate a table's
// cells); a last line that the end of `head` may have cut is left out.
std::vector<std::string> lines_of(std::string_view head, bool whole) {
  if (!whole) head = head.substr(0, head.find_last_of("\r\n") + 1);
  std::istringstream in{std::string(head)};
  LineReader reader(in, LineReader::Tabs::kKeep);
  std::vector<std::string> lines;
  std::string line;
  while (reader.next(&line)) lines.push_back(line);
  return lines;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::vector<std::string_view> fields_of(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = line.find(separator, start);
    fields.push_back(trimmed(line.substr(start, at - start)));
    if (at == std::string_view::npos) return fields;
    start = at + 1;
  }
}

bool is_year(std::string_view field) {
  int year = 0;
  const char* end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(field.data(), end, year);
  return !field.empty() && field.size() <= 6 && error == std::errc() && stop == end;
}

// A number of a table cell (digits with a point or an exponent), an empty cell, or a word for
// a missing value.
bool is_cell(std::string_view field) {
  if (field.empty()) return true;
  std::string lower;
  for (const char c : field)
    lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  if (lower == "nan" || lower == "na" || lower == "null") return true;
  double value = 0.0;
  const char* begin = field.data() + (field[0] == '+' ? 1 : 0);
  const char* end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(begin, end, value);
  return error == std::errc() && stop == end;
}

bool blank_line(std::string_view line) { return trimmed(line).empty(); }

bool column_table(const std::vector<std::string>& lines) {
  std::size_t i = 0;
  while (i < lines.size() && (blank_line(lines[i]) || lines[i][0] == '#')) ++i;
  if (i == lines.size()) return false;
  const std::string_view header = lines[i++];
  char separator = 0;
  for (const char candidate : {'\t', ';', ','}) {
    if (header.find(candidate) != std::string_view::npos) {
      separator = candidate;
      break;
    }
  }
  if (separator == 0) return false;
  const std::vector<std::string_view> names = fields_of(header, separator);
  if (names.size() < 2 || is_year(names[0])) return false;

  int rows = 0;
  for (; i < lines.size() && rows < kLinesJudged; ++i) {
    if (blank_line(lines[i])) continue;
    std::vector<std::string_view> cells = fields_of(lines[i], separator);
    // A separator after the last cell.
    if (cells.size() == names.size() + 1 && cells.back().empty()) cells.pop_back();
    if (cells.size() != names.size() || !is_year(cells[0])) return false;
    for (std::size_t k = 1; k < cells.size(); ++k) {
      if (!is_cell(cells[k])) return false;
    }
    ++rows;
  }
  return rows > 0;
}

std::string tabs_expanded(std::string_view line) {
  std::string out;
  for (const char c : line) {
    if (c == '\t') {
      out.append(8 - out.size() % 8, ' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Columns first..last hold an integer with nothing after its digits, or only blanks.
bool right_aligned(const std::string& columns, int first, int last, bool may_be_blank) {
  int value = 0;
  if (!read_int_field(columns, first, last, &value)) return false;
  bool digits = false;
  for (int column = first; column <= last; ++column) {
    const char c = columns[static_cast<std::size_t>(column - 1)];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (digits) {
      return false;
    }
  }
  return digits || may_be_blank;
}

// An index record: id, year in columns 7-10 (5-10, 6-10 for variants B and C), then ten pairs
// of a value in 4 columns and a sample depth in 3, each right-aligned or blank.
bool index_shaped(const std::string& columns) {
  int year_first = 7;
  if (columns[5] == '-') {
    year_first = 6;
  } else if (columns[4] == '-') {
    year_first = 5;
  }
  if (!right_aligned(columns, year_first, 10, false)) return false;
  bool any_value = false;
  for (int k = 0; k < 10; ++k) {
    const int first = 11 + 7 * k;
    if (!right_aligned(columns, first, first + 3, true) ||
        !right_aligned(columns, first + 4, first + 6, true)) {
      return false;
    }
    if (columns.compare(static_cast<std::size_t>(first - 1), 4, "    ") != 0) any_value = true;
  }
  return any_value;
}

bool chronology(const std::vector<std::string>& lines) {
  ColumnView view;
  MeasurementRecord record;
  int index_lines = 0;
  int measurement_lines = 0;
  for (const std::string_view line : lines) {
    if (index_lines + measurement_lines == kLinesJudged) break;
    view.assign(tabs_expanded(line));
    if (read_measurement_record(view, &record) == LineKind::kRecord && record.bad_fields == 0 &&
        record.right_aligned) {
      ++measurement_lines;
    } else if (index_shaped(view.columns())) {
      ++index_lines;
    }
  }
  return index_lines > measurement_lines;
}

}  // namespace

FileKind file_kind(std::string_view head, bool whole) {
  const std::vector<std::string> lines = lines_of(head, whole);
  if (column_table(lines)) return FileKind::kColumnTable;
  if (chronology(lines)) return FileKind::kChronology;
  return FileKind::kMeasurements;
}

}  // namespace kvr
