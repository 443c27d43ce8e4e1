#include "decade_columns.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "decade_reading.h"

namespace kvr::test {
namespace {

// A value in mm as text: the integer of its units, with the decimal mark placed and the zeros
// after the last digit dropped.
std::string decimal_text(float value, int units_per_mm, char mark) {
  const long count = std::lround(static_cast<double>(value) * units_per_mm);
  const int places = units_per_mm == 1000 ? 3 : 2;
  std::string fraction = std::to_string(count % units_per_mm);
  fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text = std::to_string(count / units_per_mm);
  if (!fraction.empty()) text += mark + fraction;
  return text;
}

std::string name_cell(const std::string& name, const TableForm& form) {
  return form.quoted_names ? "\"" + name + "\"" : name;
}

}  // namespace

std::vector<DecadeColumn> decade_columns(std::istream& in) {
  std::vector<DecadeColumn> columns;
  for (const TrrwSeries& s : read_decade(in).series) {
    DecadeColumn column;
    column.id = trim_right(s.id);
    column.first_year = s.first_year;
    column.units_per_mm = s.end_marker == EndMarker::kThousandths ? 1000 : 100;
    column.values.assign(s.values.begin(), s.values.begin() + s.count);
    columns.push_back(std::move(column));
  }
  return columns;
}

std::string column_table_text(const std::vector<DecadeColumn>& series, const TableForm& form) {
  int first = 99999;
  int last = -99999;
  for (const DecadeColumn& s : series) {
    first = std::min(first, s.first_year);
    last = std::max(last, s.first_year + static_cast<int>(s.values.size()) - 1);
  }
  const std::string separator(1, form.separator);
  std::string text;
  if (form.header_row_name) text += name_cell("", form) + separator;
  if (!form.year_row_names) text += name_cell("year", form) + separator;
  for (std::size_t k = 0; k < series.size(); ++k) {
    text += name_cell(series[k].id, form) + (k + 1 < series.size() ? separator : "\n");
  }
  for (int year = first; year <= last; ++year) {
    if (form.row_numbers) text += name_cell(std::to_string(year - first + 1), form) + separator;
    text += (form.year_row_names ? name_cell(std::to_string(year), form) : std::to_string(year));
    for (const DecadeColumn& s : series) {
      const int i = year - s.first_year;
      const bool inside = i >= 0 && i < static_cast<int>(s.values.size());
      const float v = inside ? s.values[static_cast<std::size_t>(i)] : kMissing;
      text += separator + (is_missing(v)
                               ? std::string(form.missing)
                               : decimal_text(v, s.units_per_mm, form.decimal_comma ? ',' : '.'));
    }
    text += "\n";
  }
  return text;
}

std::string difference(const DecadeColumn& decade, const TableSeries& table, bool above_zero) {
  const int decade_last = decade.first_year + static_cast<int>(decade.values.size()) - 1;
  const int table_last = table.first_year + static_cast<int>(table.counts.size()) - 1;
  const std::string where = decade.id + ": ";
  if (decade.id != table.id) return where + "read as \"" + table.id + "\"";
  if (above_zero && (decade.first_year != table.first_year || decade_last != table_last)) {
    return where + "years " + std::to_string(table.first_year) + " to " +
           std::to_string(table_last) + ", in the decade file " +
           std::to_string(decade.first_year) + " to " + std::to_string(decade_last);
  }
  for (int year = std::min(decade.first_year, table.first_year);
       year <= std::max(decade_last, table_last); ++year) {
    const int d = year - decade.first_year;
    const int t = year - table.first_year;
    const float in_decade =
        d >= 0 && year <= decade_last ? decade.values[static_cast<std::size_t>(d)] : kMissing;
    const std::int32_t count =
        t >= 0 && year <= table_last ? table.counts[static_cast<std::size_t>(t)] : kMissingCount;
    const float in_table =
        count == kMissingCount ? kMissing : table_value_mm(count, table.units_per_mm);
    if (above_zero && !(in_decade > 0.0f) && !(in_table > 0.0f)) continue;
    if (in_decade != in_table) {
      return where + "year " + std::to_string(year) + ": " + std::to_string(in_table) +
             ", in the decade file " + std::to_string(in_decade);
    }
  }
  return {};
}

}  // namespace kvr::test
