#include "formats/noaa_template.h"

#include <string>
#include <unordered_map>

#include "common/dimensions.h"
#include "formats/table_body.h"
#include "formats/table_cells.h"
#include "formats/table_lines.h"
#include "io/view_input.h"

namespace kvr {
namespace {

// Lines of a head judged at most before its data.
constexpr int kHeadLinesJudged = 400;

// Cells of a data header kept: enough to see that it names too many series.
constexpr std::size_t kHeaderCells = kMaxSeries + 3;

char separator_of(std::string_view header) {
  return header.find('\t') != std::string_view::npos ? '\t' : ' ';
}

std::string_view first_cell(std::string_view line) {
  line = trim_blanks(line);
  return line.substr(0, line.find_first_of(" \t"));
}

bool starts_with_letters(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && same_letters(text.substr(0, start.size()), start);
}

bool is_data_header(std::string_view line, const std::vector<NoaaVariable>& variables) {
  const std::string_view name = first_cell(line);
  if (!variables.empty() && same_letters(name, variables.front().name)) return true;
  return starts_with_letters(name, "age_") || same_letters(name, "year");
}

// Refuses years that are not CE/AD: a Time_Unit that says so, or a year column age_BP.
bool refuse_other_years(const NoaaMetadata& metadata, std::string_view year_column, int header_line,
                        TableReading* reading) {
  if (!metadata.time_unit.empty() && !is_common_era(metadata.time_unit)) {
    refuse_table(reading, TableRefusalKind::kNotCommonEra, metadata.time_unit_line);
    reading->refusal.text = "Time_Unit " + metadata.time_unit;
    return true;
  }
  if (starts_with_letters(year_column, "age_") && !is_common_era(year_column.substr(4))) {
    refuse_table(reading, TableRefusalKind::kNotCommonEra, header_line);
    reading->refusal.text = std::string(year_column);
    return true;
  }
  return false;
}

// The words of Missing_Values that are no numbers, to be read as missing besides NA and NaN.
// A number declared there is a value like any other.
std::vector<std::string> missing_words(std::string_view declared) {
  std::vector<std::string> words;
  Cells cells;
  split_cells(declared, ' ', 8, &cells);
  for (std::string_view word : cells.cells) {
    while (!word.empty() && (word.back() == ',' || word.back() == ';')) word.remove_suffix(1);
    CellValue value;
    if (read_value_cell(word, CellRules{}, &value) == CellKind::kNoNumber) words.emplace_back(word);
  }
  return words;
}

std::string series_id(std::string_view name) {
  static constexpr std::string_view kSuffix = "_raw";
  if (name.size() > kSuffix.size() && name.substr(name.size() - kSuffix.size()) == kSuffix) {
    name.remove_suffix(kSuffix.size());
  }
  return std::string(name);
}

// One warning for each variable and unit other than millimeter, naming its first series.
void warn_units(const std::vector<std::string>& names, const std::vector<std::string>& ids,
                const std::vector<NoaaVariable>& variables, TableReading* reading) {
  std::unordered_map<std::string_view, const NoaaVariable*> by_name;
  for (const NoaaVariable& v : variables) by_name.emplace(v.name, &v);
  std::vector<TableWarning> groups;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const auto found = by_name.find(names[k]);
    if (found == by_name.end() || is_millimeter(found->second->unit)) continue;
    const NoaaVariable& v = *found->second;
    bool counted = false;
    for (TableWarning& w : groups) {
      if (w.text == v.what && w.unit == v.unit) {
        ++w.count;
        counted = true;
        break;
      }
    }
    if (counted) continue;
    TableWarning w;
    w.kind = TableWarningKind::kNotMillimeters;
    w.line_number = v.line_number;
    w.id = ids[k];
    w.count = 1;
    w.text = v.what;
    w.unit = v.unit;
    groups.push_back(std::move(w));
  }
  for (TableWarning& w : groups) reading->warnings.push_back(std::move(w));
}

}  // namespace

bool looks_like_noaa_template(std::string_view head, bool whole) {
  if (!whole) head = head.substr(0, head.find_last_of("\r\n") + 1);
  ViewInput in(head);
  TableLineReader lines(in);
  std::string line;
  while (lines.line_number() < kHeadLinesJudged && lines.next(&line)) {
    if (blank_table_line(line)) continue;
    if (line[0] != '#') return false;
    for (const std::string_view mark :
         {"Template Version", "Paleoclimatology", "NOAA_Landing_Page"}) {
      if (line.find(mark) != std::string::npos) return true;
    }
    if (line.compare(0, 2, "##") == 0 &&
        starts_with_letters(trim_blanks(std::string_view(line).substr(2)), "age_")) {
      return true;
    }
  }
  return false;
}

NoaaReading read_noaa_template(std::istream& in) {
  NoaaReading reading;
  TableReading& table = reading.table;
  TableLineReader lines(in);
  std::string line;
  int stray = 0;
  bool found = false;
  while (lines.next(&line)) {
    if (!line.empty() && line[0] == '#') {
      read_noaa_comment(line, lines.line_number(), &reading.metadata, &reading.variables);
      continue;
    }
    if (blank_table_line(line)) continue;
    if (is_data_header(line, reading.variables)) {
      found = true;
      break;
    }
    if (++stray > kMaxStrayLines) {
      refuse_table(&table, TableRefusalKind::kStrayLines, lines.line_number());
      return reading;
    }
    TableWarning w;
    w.kind = TableWarningKind::kUncommentedLine;
    w.line_number = lines.line_number();
    w.text = line.substr(0, 60);
    table.warnings.push_back(std::move(w));
  }
  if (!found) {
    refuse_table(&table, TableRefusalKind::kNoHeader, lines.line_number());
    return reading;
  }
  if (lines.cut()) {
    refuse_table(&table, TableRefusalKind::kLineTooLong, lines.line_number());
    return reading;
  }

  TableLayout layout;
  layout.separator = separator_of(line);
  layout.header_line = lines.line_number();
  Cells header;
  split_cells(line, layout.separator, kHeaderCells, &header);
  layout.width = header.filled;
  if (refuse_other_years(reading.metadata, header.cells[0], layout.header_line, &table)) {
    return reading;
  }
  std::vector<std::string> names;
  for (std::size_t k = 1; k < std::min(header.filled, header.cells.size()); ++k) {
    names.emplace_back(header.cells[k]);
    layout.ids.push_back(series_id(header.cells[k]));
  }
  layout.rules.missing_words = missing_words(reading.metadata.missing_values);
  if (!check_table_header(layout, layout.width - 1, &table)) return reading;
  warn_units(names, layout.ids, reading.variables, &table);
  TableBody body(std::move(layout));
  read_rows(lines, body, &table);
  order_table_warnings(&table);
  return reading;
}

}  // namespace kvr
