#include "formats/table_body.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "common/dimensions.h"

namespace kvr {
namespace {

// Distinct missing codes named in a warning, at most.
constexpr std::size_t kCodesNamed = 5;

// Values from 20 mm up that are whole numbers look like counts of 0.01 or 0.001 mm.
constexpr std::int32_t kLargeThousandths = 20000;

TableWarning warning_of(TableWarningKind kind, int line_number, const std::string& id) {
  TableWarning w;
  w.kind = kind;
  w.line_number = line_number;
  w.id = id;
  return w;
}

}  // namespace

void refuse_table(TableReading* reading, TableRefusalKind kind, int line_number) {
  reading->series.clear();
  reading->refusal = TableRefusal{};
  reading->refusal.kind = kind;
  reading->refusal.line_number = line_number;
}

bool check_table_header(const TableLayout& layout, std::size_t series, TableReading* reading) {
  if (series == 0) {
    refuse_table(reading, TableRefusalKind::kNoSeriesColumn, layout.header_line);
    return false;
  }
  if (series > static_cast<std::size_t>(kMaxSeries)) {
    refuse_table(reading, TableRefusalKind::kTooManySeries, layout.header_line);
    reading->refusal.count = static_cast<int>(series);
    reading->refusal.expected = kMaxSeries;
    return false;
  }
  for (std::size_t k = 0; k < layout.ids.size(); ++k) {
    if (!layout.ids[k].empty()) continue;
    refuse_table(reading, TableRefusalKind::kUnnamedColumn, layout.header_line);
    reading->refusal.count = static_cast<int>(layout.year_cell + k + 2);
    return false;
  }
  return true;
}

void TableBody::Tally::note(int at_year, int at_line, std::string_view cell) {
  if (count++ > 0) return;
  year = at_year;
  line = at_line;
  text = std::string(cell.substr(0, 40));
}

TableBody::TableBody(TableLayout layout)
    : layout_(std::move(layout)), columns_(layout_.ids.size()) {}

bool TableBody::add_row(std::string_view line, int line_number, TableReading* reading) {
  split_cells(line, layout_.separator, layout_.width + 1, &cells_);
  if (cells_.filled > layout_.width || cells_.total < layout_.width) {
    const bool many = cells_.filled > layout_.width;
    refuse_table(reading, many ? TableRefusalKind::kTooManyCells : TableRefusalKind::kTooFewCells,
                 line_number);
    reading->refusal.count = static_cast<int>(many ? cells_.filled : cells_.total);
    reading->refusal.expected = static_cast<int>(layout_.width);
    return false;
  }
  int year = 0;
  const std::string_view year_text = cells_.cells[layout_.year_cell];
  if (!read_year_cell(year_text, &year)) {
    refuse_table(reading, TableRefusalKind::kYearNotNumber, line_number);
    reading->refusal.text = std::string(year_text.substr(0, 40));
    return false;
  }
  if (have_row_ && year <= last_year_) {
    refuse_table(reading,
                 year == last_year_ ? TableRefusalKind::kRepeatedYear : TableRefusalKind::kYearBack,
                 line_number);
    reading->refusal.year = year;
    reading->refusal.other_year = last_year_;
    reading->refusal.other_line = last_line_;
    return false;
  }
  have_row_ = true;
  last_year_ = year;
  last_line_ = line_number;

  for (std::size_t k = 0; k < columns_.size(); ++k) {
    const std::string_view cell = cells_.cells[layout_.year_cell + 1 + k];
    Column& column = columns_[k];
    CellValue value;
    switch (read_value_cell(cell, layout_.rules, &value)) {
      case CellKind::kValue:
        if (!have_value_) {
          have_value_ = true;
          first_value_year_ = year;
        }
        if (year - first_value_year_ >= kMaxPositions) {
          refuse_table(reading, TableRefusalKind::kSpanTooLong, line_number);
          reading->refusal.year = year;
          reading->refusal.other_year = first_value_year_;
          reading->refusal.count = kMaxPositions;
          return false;
        }
        add_value(column, value, year, line_number);
        if (value.places > 3) column.rounded.note(year, line_number, cell);
        break;
      case CellKind::kCode: {
        column.codes.note(year, line_number, cell);
        const std::string code(trim_blanks(cell).substr(0, 20));
        if (column.code_words.size() < kCodesNamed &&
            std::find(column.code_words.begin(), column.code_words.end(), code) ==
                column.code_words.end()) {
          column.code_words.push_back(code);
        }
        break;
      }
      case CellKind::kNoNumber:
        column.no_numbers.note(year, line_number, cell);
        break;
      case CellKind::kEmpty:
        break;
    }
  }
  return true;
}

void TableBody::add_value(Column& column, const CellValue& value, int year, int line) {
  if (column.thousandths.empty()) {
    column.first_year = year;
    column.first_line = line;
  }
  column.thousandths.resize(static_cast<std::size_t>(year - column.first_year + 1), kMissingCount);
  column.thousandths.back() = value.thousandths;
  column.places = std::max(column.places, value.places);
  if (value.thousandths == 0) return;
  ++values_above_zero_;
  if (value.places > 0 || value.thousandths < kLargeThousandths) all_whole_and_large_ = false;
}

void TableBody::add_warnings(const Column& column, const std::string& id,
                             TableReading* reading) const {
  const struct {
    TableWarningKind kind;
    const Tally& tally;
  } tallies[] = {{TableWarningKind::kMissingCodes, column.codes},
                 {TableWarningKind::kNoNumber, column.no_numbers},
                 {TableWarningKind::kRounded, column.rounded}};
  for (const auto& [kind, tally] : tallies) {
    // A series without values is named once, below, with the codes it held.
    if (tally.count == 0 || (kind == TableWarningKind::kMissingCodes && column.thousandths.empty()))
      continue;
    TableWarning w = warning_of(kind, tally.line, id);
    w.year = tally.year;
    w.count = tally.count;
    w.text = tally.text;
    if (kind == TableWarningKind::kMissingCodes) w.codes = column.code_words;
    reading->warnings.push_back(std::move(w));
  }
  if (column.thousandths.empty()) {
    TableWarning w = warning_of(TableWarningKind::kNoValues, layout_.header_line, id);
    w.count = column.codes.count;
    w.codes = column.code_words;
    reading->warnings.push_back(std::move(w));
  }
}

void TableBody::finish(TableReading* reading) {
  std::unordered_map<std::string, std::size_t> seen;
  for (std::size_t k = 0; k < columns_.size(); ++k) {
    const std::string& id = layout_.ids[k];
    const auto [earlier, fresh] = seen.emplace(id, k);
    if (!fresh) {
      TableWarning w = warning_of(TableWarningKind::kDuplicateId, layout_.header_line, id);
      w.count = static_cast<int>(layout_.year_cell + k + 2);
      w.other = static_cast<int>(layout_.year_cell + earlier->second + 2);
      reading->warnings.push_back(std::move(w));
    }
    Column& column = columns_[k];
    add_warnings(column, id, reading);
    if (column.thousandths.empty()) continue;
    TableSeries series;
    series.id = id;
    series.first_year = column.first_year;
    series.first_line = column.first_line;
    series.units_per_mm = column.places <= 2 ? 100 : 1000;
    series.counts = std::move(column.thousandths);
    if (series.units_per_mm == 100) {
      for (std::int32_t& count : series.counts) {
        if (count != kMissingCount) count /= 10;
      }
    }
    reading->series.push_back(std::move(series));
  }
  if (layout_.check_units && values_above_zero_ > 0 && all_whole_and_large_) {
    TableWarning w = warning_of(TableWarningKind::kLooksLikeUnits, layout_.header_line, "");
    w.count = values_above_zero_;
    reading->warnings.push_back(std::move(w));
  }
  order_table_warnings(reading);
  if (reading->series.empty()) refuse_table(reading, TableRefusalKind::kNoValues, 0);
}

void order_table_warnings(TableReading* reading) {
  std::stable_sort(
      reading->warnings.begin(), reading->warnings.end(),
      [](const TableWarning& a, const TableWarning& b) { return a.line_number < b.line_number; });
}

bool blank_table_line(std::string_view line) { return trim_blanks(line).empty(); }

int read_rows(TableLineReader& lines, TableBody& body, TableReading* reading, int max_rows) {
  std::string line;
  int rows = 0;
  while (rows < max_rows && lines.next(&line)) {
    if (lines.cut()) {
      refuse_table(reading, TableRefusalKind::kLineTooLong, lines.line_number());
      return rows;
    }
    if (blank_table_line(line) || line[0] == '#') continue;
    if (!body.add_row(line, lines.line_number(), reading)) return rows;
    ++rows;
  }
  body.finish(reading);
  return rows;
}

}  // namespace kvr
