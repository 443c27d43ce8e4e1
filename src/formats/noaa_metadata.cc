#include "formats/noaa_metadata.h"

#include <algorithm>
#include <cctype>

#include "formats/table_cells.h"

namespace kvr {
namespace {

char folded(char c) {
  if (c == ' ') return '_';
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// A key as it is compared: lower case, blanks as underscores.
bool same_key(std::string_view written, std::string_view key) {
  return written.size() == key.size() && std::equal(written.begin(), written.end(), key.begin(),
                                                    [](char a, char b) { return folded(a) == b; });
}

struct KeyField {
  std::string_view key;
  std::string NoaaMetadata::*field;
};

constexpr KeyField kKeys[] = {
    {"study_name", &NoaaMetadata::study_name},
    {"site_name", &NoaaMetadata::site_name},
    {"location", &NoaaMetadata::location},
    {"northernmost_latitude", &NoaaMetadata::northernmost_latitude},
    {"southernmost_latitude", &NoaaMetadata::southernmost_latitude},
    {"easternmost_longitude", &NoaaMetadata::easternmost_longitude},
    {"westernmost_longitude", &NoaaMetadata::westernmost_longitude},
    {"elevation_m", &NoaaMetadata::elevation},
    {"elevation", &NoaaMetadata::elevation},
    {"species_name", &NoaaMetadata::species_name},
    {"common_name", &NoaaMetadata::common_name},
    {"tree_species_code", &NoaaMetadata::species_code},
    {"species_code", &NoaaMetadata::species_code},
    {"investigators", &NoaaMetadata::investigators},
    {"collection_name", &NoaaMetadata::collection_name},
    {"time_unit", &NoaaMetadata::time_unit},
    {"missing_values", &NoaaMetadata::missing_values},
};

// The `part`-th of the comma-separated parts of `text` (from 0), trimmed; empty when absent.
std::string_view part_of(std::string_view text, int part) {
  for (int k = 0; k < part; ++k) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return {};
    text.remove_prefix(comma + 1);
  }
  return trim_blanks(text.substr(0, text.find(',')));
}

void read_variable(std::string_view text, int line_number, std::vector<NoaaVariable>* variables) {
  text = trim_blanks(text);
  const std::size_t end = text.find_first_of(" \t");
  NoaaVariable variable;
  variable.name = std::string(text.substr(0, end));
  if (variable.name.empty() || variables->size() >= kMaxVariables) return;
  const std::string_view description =
      end == std::string_view::npos ? std::string_view() : trim_blanks(text.substr(end));
  variable.what = std::string(part_of(description, 0));
  std::string_view unit = part_of(description, 3);
  // A unit given with its class: "length unit>millimeter".
  if (const std::size_t arrow = unit.rfind('>'); arrow != std::string_view::npos) {
    unit = trim_blanks(unit.substr(arrow + 1));
  }
  variable.unit = std::string(unit);
  variable.line_number = line_number;
  variables->push_back(std::move(variable));
}

}  // namespace

void read_noaa_comment(std::string_view line, int line_number, NoaaMetadata* metadata,
                       std::vector<NoaaVariable>* variables) {
  if (line.substr(0, 2) == "##") {
    read_variable(line.substr(2), line_number, variables);
    return;
  }
  const std::string_view text = line.substr(1);
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return;
  const std::string_view key = trim_blanks(text.substr(0, colon));
  const std::string_view value = trim_blanks(text.substr(colon + 1));
  if (value.empty() || same_letters(value, "None")) return;
  for (const KeyField& k : kKeys) {
    if (!same_key(key, k.key)) continue;
    std::string& field = metadata->*k.field;
    if (!field.empty()) return;
    field = std::string(value);
    if (k.field == &NoaaMetadata::time_unit) metadata->time_unit_line = line_number;
    return;
  }
}

bool is_millimeter(std::string_view unit) {
  for (const std::string_view name :
       {"millimeter", "millimeters", "millimetre", "millimetres", "mm"}) {
    if (same_letters(unit, name)) return true;
  }
  return false;
}

bool is_common_era(std::string_view time_unit) {
  for (const std::string_view name : {"CE", "AD", "AD/CE", "CE/AD", "year CE", "years CE"}) {
    if (same_letters(trim_blanks(time_unit), name)) return true;
  }
  return false;
}

}  // namespace kvr
