#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

/// What a NOAA template file says of its data in its `#` lines of `Key: value`, as written
/// (blanks around the value dropped; a value of "None" is no value). The first line of a key
/// that gives a value counts; keys are matched in any case, with a blank for an underscore.
struct NoaaMetadata {
  std::string study_name;             // Study_Name
  std::string site_name;              // Site_Name
  std::string location;               // Location
  std::string northernmost_latitude;  // Northernmost_Latitude
  std::string southernmost_latitude;  // Southernmost_Latitude
  std::string easternmost_longitude;  // Easternmost_Longitude
  std::string westernmost_longitude;  // Westernmost_Longitude
  std::string elevation;              // Elevation_m or Elevation, in m
  std::string species_name;           // Species_Name
  std::string common_name;            // Common_Name
  std::string species_code;           // Tree_Species_Code or Species_Code
  std::string investigators;          // Investigators
  std::string collection_name;        // Collection_Name
  std::string time_unit;              // Time_Unit: CE, AD, BP ...
  std::string missing_values;         // Missing_Values: NA, NaN ...
  int time_unit_line = 0;             // the line of Time_Unit
};

/// A `##` line of a template: a variable (a column of the data), what it measures and in
/// which unit.
///
///   ## BSC21A_raw<TAB>total ring width,,,millimeter,,tree ring,,,N,Tree ID: BSC21A
///      name           what             unit (4th component; "length unit>millimeter" too)
///
/// A blank instead of the tab after the name is read as well.
struct NoaaVariable {
  std::string name;
  std::string what;
  std::string unit;
  int line_number = 0;
};

/// Variables kept at most: more than the columns the program can read.
inline constexpr std::size_t kMaxVariables = 4096;

/// Reads a line that starts with '#': a variable line into *variables (while there are fewer
/// than kMaxVariables), a line of a known key into *metadata; other lines say nothing.
void read_noaa_comment(std::string_view line, int line_number, NoaaMetadata* metadata,
                       std::vector<NoaaVariable>* variables);

/// True when `unit` names millimeters ("millimeter", "millimetres", "mm", in any case).
[[nodiscard]] bool is_millimeter(std::string_view unit);

/// True when a Time_Unit value names calendar years (CE or AD).
[[nodiscard]] bool is_common_era(std::string_view time_unit);

}  // namespace kvr
