#include "measurements/measurement_file.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "formats/file_kind.h"
#include "formats/trrw.h"
#include "io/line_reader.h"
#include "measurements/series_assembly.h"

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

SeriesInfo info_of(const TrrwSeries& series) {
  SeriesInfo info;
  info.id = pad_right(series.id, 8);
  info.first_year = series.first_year;
  info.length = series.count;
  info.last_year = info.first_year + info.length - 1;
  return info;
}

// Why a file of another kind is refused; empty for a file of measurements.
std::string other_kind_refusal(LineReader& lines) {
  bool whole = false;
  const std::string_view head = lines.head(&whole);
  const FileKind kind = file_kind(head, whole);
  if (kind == FileKind::kChronology) {
    return " The input file holds a chronology (index records with sample depth), not tree-ring "
           "measurements. Program terminating.";
  }
  if (kind == FileKind::kColumnTable) {
    return " The input file is a table of columns (a year, then one value per series), not "
           "decade-format records of measurements. Program terminating.";
  }
  return "";
}

// The warnings of the reader and of the assembly so far, in the order of their lines.
std::vector<ReadAnomaly> in_line_order(const ReadReport& report, const SeriesAssembly& assembly) {
  std::vector<ReadAnomaly> all = report.anomalies;
  all.insert(all.end(), assembly.notes().begin(), assembly.notes().end());
  std::stable_sort(all.begin(), all.end(), [](const ReadAnomaly& a, const ReadAnomaly& b) {
    return a.line_number < b.line_number;
  });
  return all;
}

// One warning per series whose id an earlier series still has (its years overlap, so they
// did not join), naming both first lines.
void note_duplicate_ids(const std::vector<TrrwSeries>& all, std::vector<ReadAnomaly>* warnings) {
  std::map<std::string, std::size_t> first_with_id;
  for (std::size_t j = 0; j < all.size(); ++j) {
    const std::string id = pad_right(all[j].id, 8);
    const auto [earlier, added] = first_with_id.emplace(id, j);
    if (added) continue;
    ReadAnomaly a;
    a.kind = ReadAnomalyKind::kDuplicateId;
    a.line_number = all[j].first_line;
    a.id = id;
    a.count = static_cast<int>(earlier->second) + 1;
    a.other_line = all[earlier->second].first_line;
    warnings->push_back(a);
  }
}

// The set of the assembled series, without its values; the refusal when they span more
// years than the grids hold.
std::string fill_series_infos(const std::vector<TrrwSeries>& all, MeasurementSet* set) {
  for (const TrrwSeries& series : all) {
    const SeriesInfo info = info_of(series);
    if (info.last_year > set->latest_last_year) set->latest_last_year = info.last_year;
    if (info.first_year < set->earliest_first_year) set->earliest_first_year = info.first_year;
    if (info.length > set->longest_length) set->longest_length = info.length;
    set->series.push_back(info);
  }
  set->time_span = set->latest_last_year - set->earliest_first_year + 1;
  if (set->time_span <= kMaxPositions) return "";
  const SeriesInfo* earliest = nullptr;
  const SeriesInfo* latest = nullptr;
  for (const SeriesInfo& info : set->series) {
    if (earliest == nullptr || info.first_year < earliest->first_year) earliest = &info;
    if (latest == nullptr || info.last_year > latest->last_year) latest = &info;
  }
  return " The series span " + std::to_string(set->time_span) + " years, from series " +
         name_of(*earliest) + " to series " + name_of(*latest) + "; the limit is " +
         std::to_string(kMaxPositions) + " years. Program terminating.";
}

// The value grid: series j's values from ring 1 on, 0.0 stored as 0.001.
void fill_values(const std::vector<TrrwSeries>& all, MeasurementSet* set) {
  set->values.reset(set->count(), set->positions_needed(), kMissing);
  for (int j = 1; j <= set->count(); ++j) {
    SeriesInfo& info = set->info(j);
    info.start_position = info.first_year - set->earliest_first_year + 1;
    const std::vector<float>& series_values = all[static_cast<std::size_t>(j - 1)].values;
    for (int i = 1; i <= info.length; ++i) {
      const float v = series_values[static_cast<std::size_t>(i - 1)];
      set->values(j, i) = v == 0.0f ? 0.001f : v;
    }
  }
}

// Why the series read into `buffer` ends the reading (status kSeriesTooLong, or years the
// result files cannot hold); empty when it can be taken.
std::string series_refusal(TrrwStatus status, const TrrwSeries& buffer) {
  const SeriesInfo info = info_of(buffer);
  if (status == TrrwStatus::kSeriesTooLong) {
    return " Series " + name_of(info) + " holds " + std::to_string(info.length) +
           " values; the limit is " + std::to_string(kMaxPositions) +
           " values per series. Program terminating.";
  }
  // Such a series could be analysed, but its results could not be written back.
  if (info.length >= 1 &&
      (info.first_year < kEarliestWritableYear || info.last_year > kLatestWritableYear)) {
    return " Series " + name_of(info) + " has years outside " +
           std::to_string(kEarliestWritableYear) + " to " + std::to_string(kLatestWritableYear) +
           ", the years that KVRmodeled.raw and KVRmodeled.crn can hold. Program terminating.";
  }
  return "";
}

// The anomaly of a series without values, or of one that the file ended inside.
ReadAnomaly series_anomaly(ReadAnomalyKind kind, int line_number, const std::string& id, int year) {
  ReadAnomaly a;
  a.kind = kind;
  a.line_number = line_number;
  a.id = id;
  a.year = year;
  return a;
}

}  // namespace

MeasurementReading read_measurement_file(std::istream& in) {
  MeasurementReading reading;
  LineReader lines(in);
  reading.refusal = other_kind_refusal(lines);
  if (!reading.refusal.empty()) return reading;

  TrrwReadState state;
  SeriesAssembly assembly(kMaxPositions);
  TrrwSeries buffer;
  // The echo and the warnings so far go with the reading, and why it ends the run (empty: it
  // does not).
  const auto finish = [&](std::string refusal) {
    reading.echo = std::move(state.echo);
    reading.warnings = in_line_order(state.report, assembly);
    reading.refusal = std::move(refusal);
    reading.usable = reading.refusal.empty();
  };

  for (;;) {
    const TrrwStatus status =
        trrw_read(lines, ReadMode::kMeasurements, kMaxPositions, &buffer, &state);
    if (status == TrrwStatus::kTooManyTextLines) {
      reading.echo = std::move(state.echo);
      return reading;
    }
    if (status == TrrwStatus::kEndOfFile) {
      if (const DroppedSeries& dropped = state.dropped; dropped.line_number > 0) {
        state.report.anomalies.push_back(series_anomaly(
            ReadAnomalyKind::kCutByEndOfFile, dropped.line_number, dropped.id, dropped.first_year));
      }
      break;
    }
    if (std::string why = series_refusal(status, buffer); !why.empty()) {
      finish(std::move(why));
      return reading;
    }
    if (buffer.count < 1) {
      state.report.anomalies.push_back(
          series_anomaly(ReadAnomalyKind::kNoValues, buffer.first_line, buffer.id, 0));
    }
    if (assembly.add(buffer) == static_cast<std::size_t>(kMaxSeries)) {
      finish(" The file holds more than " + std::to_string(kMaxSeries) +
             " series, the limit; series " + std::to_string(kMaxSeries + 1) + " is " +
             name_of(info_of(buffer)) + ". Program terminating.");
      return reading;
    }
  }

  assembly.finish();
  const std::vector<TrrwSeries>& all = assembly.series();
  if (all.empty()) {
    finish(" The input file holds no tree-ring series. Program terminating.");
    return reading;
  }
  if (std::string why = fill_series_infos(all, &reading.set); !why.empty()) {
    finish(std::move(why));
    return reading;
  }
  finish("");
  note_duplicate_ids(all, &reading.warnings);
  fill_values(all, &reading.set);
  return reading;
}

}  // namespace kvr
