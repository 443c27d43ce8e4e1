#include "driver/read_input.h"

#include <map>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "io/line_reader.h"

namespace kvr {
namespace {

// The years that the decade-format result files can hold: a year field of at most six
// columns with its minus sign, and of four columns for years from 0 on.
constexpr int kEarliestWritableYear = -99999;
constexpr int kLatestWritableYear = 9999;

std::string years_of(const SeriesInfo& info) {
  return std::to_string(info.first_year) + " to " + std::to_string(info.last_year);
}

std::string name_of(const SeriesInfo& info) {
  std::string name = "\"";
  name.append(trim_right(info.id)).append("\" (").append(years_of(info)).append(")");
  return name;
}

// One warning per series whose id an earlier series already has, naming both first lines.
void warn_duplicate_ids(Console& console, const MeasurementSet& set,
                        const std::vector<int>& first_lines) {
  std::map<std::string, int> first_with_id;
  for (int j = 1; j <= set.count(); ++j) {
    const auto [earlier, added] = first_with_id.emplace(set.info(j).id, j);
    if (added) continue;
    const int line = first_lines[static_cast<std::size_t>(j - 1)];
    const int earlier_line = first_lines[static_cast<std::size_t>(earlier->second - 1)];
    console.line(" Warning: line " + std::to_string(line) + ", series \"" +
                 trim_right(set.info(j).id) + "\": the id of series " +
                 std::to_string(earlier->second) + " (line " + std::to_string(earlier_line) +
                 ") again");
  }
}

}  // namespace

bool read_measurements(std::istream& in, Console& console, MeasurementSet* set,
                       TrrwText* text) {
  LineReader lines(in);
  std::vector<std::vector<float>> values;
  std::vector<int> first_lines;
  ReadReport report;
  std::vector<std::string> late_warnings;  // printed after the reader's own anomalies
  int series_counter = 0;
  TrrwSeries buffer;
  // The warnings of the reading so far. A limit that ends the run prints them first: they
  // often explain it (a lost end marker runs two series into one too long).
  const auto print_reading_report = [&] {
    for (const ReadAnomaly& anomaly : report.anomalies) console.line(describe(anomaly));
    for (const std::string& warning : late_warnings) console.line(warning);
  };

  for (;;) {
    DroppedSeries dropped;
    dropped.line_number = 0;
    const TrrwStatus status = trrw_read(lines, TrrwMode::kMeasurementRead, kMaxPositions,
                                        &buffer, &series_counter, text, console.out(), &dropped,
                                        &report);
    if (status == TrrwStatus::kTooManyTextLines) return false;
    if (status == TrrwStatus::kEndOfFile) {
      if (dropped.line_number > 0) {
        late_warnings.push_back(" Warning: line " + std::to_string(dropped.line_number) +
                                ", series \"" + trim_right(dropped.id) + "\" (first year " +
                                std::to_string(dropped.first_year) +
                                "): the file ends inside it, before its end marker; the " +
                                "series is left out");
      }
      break;
    }
    SeriesInfo info;
    info.id = pad_right(buffer.id, 8);
    info.first_year = buffer.first_year;
    info.length = buffer.count;
    info.last_year = info.first_year + info.length - 1;
    if (status == TrrwStatus::kSeriesTooLong) {
      print_reading_report();
      console.line(" Series " + name_of(info) + " holds " + std::to_string(info.length) +
                   " values; the limit is " + std::to_string(kMaxPositions) +
                   " values per series. Program terminating.");
      return false;
    }
    if (set->count() == kMaxSeries) {
      print_reading_report();
      console.line(" The file holds more than " + std::to_string(kMaxSeries) +
                   " series, the limit; series " + std::to_string(kMaxSeries + 1) + " is " +
                   name_of(info) + ". Program terminating.");
      return false;
    }
    // Such a series could be analysed, but its results could not be written back.
    if (info.length >= 1 &&
        (info.first_year < kEarliestWritableYear || info.last_year > kLatestWritableYear)) {
      print_reading_report();
      console.line(" Series " + name_of(info) + " has years outside " +
                   std::to_string(kEarliestWritableYear) + " to " +
                   std::to_string(kLatestWritableYear) +
                   ", the years that KVRmodeled.raw and KVRmodeled.crn can hold. Program "
                   "terminating.");
      return false;
    }
    if (info.length < 1) {
      late_warnings.push_back(" Warning: line " + std::to_string(buffer.first_line) +
                              ", series \"" + trim_right(info.id) + "\": it holds no values");
    }
    set->series.push_back(info);
    first_lines.push_back(buffer.first_line);
    values.emplace_back(buffer.values.begin(), buffer.values.begin() + info.length);
    if (info.last_year > set->latest_last_year) set->latest_last_year = info.last_year;
    if (info.first_year < set->earliest_first_year) set->earliest_first_year = info.first_year;
    if (info.length > set->longest_length) set->longest_length = info.length;
  }

  print_reading_report();
  if (set->count() == 0) {
    console.line(" The input file holds no tree-ring series. Program terminating.");
    return false;
  }
  set->time_span = set->latest_last_year - set->earliest_first_year + 1;
  if (set->time_span > kMaxPositions) {
    const SeriesInfo* earliest = nullptr;
    const SeriesInfo* latest = nullptr;
    for (const SeriesInfo& info : set->series) {
      if (earliest == nullptr || info.first_year < earliest->first_year) earliest = &info;
      if (latest == nullptr || info.last_year > latest->last_year) latest = &info;
    }
    console.line(" The series span " + std::to_string(set->time_span) + " years, from series " +
                 name_of(*earliest) + " to series " + name_of(*latest) + "; the limit is " +
                 std::to_string(kMaxPositions) + " years. Program terminating.");
    return false;
  }

  warn_duplicate_ids(console, *set, first_lines);
  set->values.reset(set->count(), set->positions_needed(), kMissing);
  for (int j = 1; j <= set->count(); ++j) {
    SeriesInfo& info = set->info(j);
    info.start_position = info.first_year - set->earliest_first_year + 1;
    const std::vector<float>& series_values = values[static_cast<std::size_t>(j - 1)];
    for (int i = 1; i <= info.length; ++i) {
      const float v = series_values[static_cast<std::size_t>(i - 1)];
      set->values(j, i) = v == 0.0f ? 0.001f : v;
    }
  }
  return true;
}

}  // namespace kvr
