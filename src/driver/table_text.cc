#include "driver/table_text.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "common/fixed_format.h"
#include "formats/table_cells.h"

namespace kvr {
namespace {

// The parts that are not empty, joined by `separator`.
std::string joined(std::initializer_list<std::string> parts, std::string_view separator) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += separator;
    text += part;
  }
  return text;
}

// "latitude 29.25", or "latitude 29.1 to 29.4" for a box of two bounds.
std::string coordinate(std::string_view name, const std::string& low, const std::string& high) {
  if (low.empty() && high.empty()) return "";
  if (low.empty() || high.empty() || low == high) {
    return std::string(name) + " " + (low.empty() ? high : low);
  }
  return std::string(name) + " " + low + " to " + high;
}

std::string site_text(const NoaaMetadata& m) {
  const std::string place = joined({m.site_name, m.location}, ", ");
  const std::string position =
      joined({coordinate("latitude", m.southernmost_latitude, m.northernmost_latitude),
              coordinate("longitude", m.westernmost_longitude, m.easternmost_longitude),
              m.elevation.empty() ? "" : "elevation " + m.elevation + " m"},
             ", ");
  return joined({place, position}, "; ");
}

std::string species_text(const NoaaMetadata& m) {
  const std::string common = m.common_name.empty() ? "" : "(" + m.common_name + ")";
  return joined({joined({m.species_name, common}, " "), m.species_code}, ", ");
}

// The variables of the series, each (what and unit) named once, in the order of the file.
std::vector<std::string> series_variables(const std::vector<NoaaVariable>& variables) {
  std::vector<std::string> named;
  for (const NoaaVariable& v : variables) {
    const std::string_view name = v.name;
    if (same_letters(name.substr(0, 4), "age_") || same_letters(name, "year")) continue;
    const std::string unit = v.unit.empty() ? "" : "(" + v.unit + ")";
    std::string text = joined({v.what, unit}, " ");
    if (text.empty() || std::find(named.begin(), named.end(), text) != named.end()) continue;
    named.push_back(std::move(text));
  }
  return named;
}

}  // namespace

std::vector<std::string> source_lines(const MeasurementReading& reading) {
  if (reading.kind != FileKind::kNoaaTemplate) return {};
  const NoaaMetadata& m = reading.metadata;
  const std::vector<std::string> variables = series_variables(reading.variables);
  std::string variable_text;
  for (const std::string& v : variables) variable_text = joined({variable_text, v}, "; ");
  const std::pair<const char*, std::string> lines[] = {
      {"Study: ", m.study_name},
      {"Site: ", site_text(m)},
      {"Species: ", species_text(m)},
      {"Investigators: ", m.investigators},
      {variables.size() > 1 ? "Variables: " : "Variable: ", variable_text},
  };
  std::vector<std::string> shown;
  for (const auto& [label, text] : lines) {
    if (!text.empty()) shown.push_back(control_characters_shown(label + text));
  }
  return shown;
}

std::string source_echo(const std::vector<std::string>& lines) {
  std::string echo;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    echo += i == 0 ? "\n title of data:\n " : " ";
    echo += lines[i] + '\n';
  }
  return echo;
}

std::string table_warning_line(const TableWarning& warning) {
  return control_characters_shown(describe(warning));
}

std::string table_refusal_text(const TableRefusal& refusal) {
  return " " + control_characters_shown(describe(refusal));
}

}  // namespace kvr
