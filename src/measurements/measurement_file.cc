#include "measurements/measurement_file.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "formats/file_kind.h"
#include "formats/trrw.h"
#include "io/line_reader.h"
#include "io/rejoined_input.h"
#include "measurements/series_assembly.h"
#include "measurements/table_measurements.h"

namespace kvr {
namespace {

SeriesInfo info_of(const TrrwSeries& series) {
  SeriesInfo info;
  info.id = pad_right(series.id, 8);
  info.first_year = series.first_year;
  info.length = series.count;
  info.last_year = info.first_year + info.length - 1;
  return info;
}

// The warnings of the reader and of the assembly so far, in the order of their lines.
std::vector<ReadAnomaly> in_line_order(const std::vector<ReadAnomaly>& read,
                                       const SeriesAssembly& assembly) {
  std::vector<ReadAnomaly> all = read;
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
Refusal fill_series_infos(const std::vector<TrrwSeries>& all, MeasurementSet* set) {
  for (const TrrwSeries& series : all) {
    const SeriesInfo info = info_of(series);
    if (info.last_year > set->latest_last_year) set->latest_last_year = info.last_year;
    if (info.first_year < set->earliest_first_year) set->earliest_first_year = info.first_year;
    if (info.length > set->longest_length) set->longest_length = info.length;
    set->series.push_back(info);
  }
  set->time_span = set->latest_last_year - set->earliest_first_year + 1;
  if (set->time_span <= kMaxPositions) return {};
  const SeriesInfo* earliest = nullptr;
  const SeriesInfo* latest = nullptr;
  for (const SeriesInfo& info : set->series) {
    if (earliest == nullptr || info.first_year < earliest->first_year) earliest = &info;
    if (latest == nullptr || info.last_year > latest->last_year) latest = &info;
  }
  return {Refusal::Kind::kSpanTooLong, *earliest, *latest, set->time_span};
}

// The value grid: series j's values from ring 1 on, 0.0 stored as 0.001; and the series in
// mm as the file gives them. The assembly lets go of each series once it is taken.
void fill_values(SeriesAssembly& assembly, MeasurementSet* set,
                 std::vector<MeasuredSeries>* measured) {
  set->values.reset(set->count(), set->positions_needed(), kMissing);
  measured->reserve(static_cast<std::size_t>(set->count()));
  std::vector<float> series_values;
  for (int j = 1; j <= set->count(); ++j) {
    SeriesInfo& info = set->info(j);
    info.start_position = info.first_year - set->earliest_first_year + 1;
    const auto at = static_cast<std::size_t>(j - 1);
    MeasuredSeries& series = measured->emplace_back();
    series.id = trim_right(assembly.series()[at].id);
    series.first_year = info.first_year;
    assembly.take_values(at, &series_values, &series.mm);
    for (int i = 1; i <= info.length; ++i) {
      const float v = series_values[static_cast<std::size_t>(i - 1)];
      set->values(j, i) = v == 0.0f ? 0.001f : v;
    }
  }
}

// Why the series read ends the reading (too long, or years the result files cannot hold);
// kNone when it can be taken.
Refusal series_refusal(const SeriesRead& read) {
  const SeriesInfo info = info_of(read.series);
  if (read.kind == SeriesRead::Kind::kSeriesTooLong) {
    return {Refusal::Kind::kSeriesTooLong, info, {}, 0};
  }
  // Such a series could be analysed, but its results could not be written back.
  if (info.length >= 1 &&
      (info.first_year < kEarliestWritableYear || info.last_year > kLatestWritableYear)) {
    return {Refusal::Kind::kUnwritableYears, info, {}, 0};
  }
  return {};
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
  bool whole = false;
  const std::string_view head = lines.head(&whole);
  switch (const FileKind kind = file_kind(head, whole)) {
    case FileKind::kChronology:
      reading.kind = kind;
      reading.refusal.kind = Refusal::Kind::kChronology;
      return reading;
    case FileKind::kNoaaTemplate:
    case FileKind::kColumnTable: {
      // The table readers take the file from its start, the bytes judged included.
      RejoinedInput table(head, in);
      return read_table_measurements(kind, table);
    }
    case FileKind::kMeasurements:
      break;
  }

  SeriesReader reader(lines, kMaxPositions);
  SeriesAssembly assembly(kMaxPositions);
  std::vector<ReadAnomaly> anomalies;
  // The warnings so far go with the reading, and why it ends the run (kNone: it does not).
  const auto finish = [&](Refusal refusal) {
    reading.warnings = in_line_order(anomalies, assembly);
    reading.refusal = std::move(refusal);
    reading.usable = reading.refusal.kind == Refusal::Kind::kNone;
  };

  for (;;) {
    SeriesRead read = reader.next();
    if (!read.text_records.empty() || read.free_format != DatarStatus::kSeries) {
      reading.text.push_back({std::move(read.text_records), read.free_format});
    }
    anomalies.insert(anomalies.end(), read.anomalies.begin(), read.anomalies.end());
    if (read.kind == SeriesRead::Kind::kTooManyTextLines) {
      reading.refusal.kind = Refusal::Kind::kTooManyTextLines;
      return reading;
    }
    if (read.kind == SeriesRead::Kind::kEndOfFile) {
      if (const std::optional<CutSeries>& cut = read.cut; cut.has_value()) {
        anomalies.push_back(series_anomaly(ReadAnomalyKind::kCutByEndOfFile, cut->line_number,
                                           cut->id, cut->first_year));
      }
      break;
    }
    if (Refusal why = series_refusal(read); why.kind != Refusal::Kind::kNone) {
      finish(std::move(why));
      return reading;
    }
    const TrrwSeries& series = read.series;
    if (series.count < 1) {
      anomalies.push_back(
          series_anomaly(ReadAnomalyKind::kNoValues, series.first_line, series.id, 0));
    }
    if (assembly.add(series) == static_cast<std::size_t>(kMaxSeries)) {
      finish({Refusal::Kind::kTooManySeries, info_of(series), {}, 0});
      return reading;
    }
  }

  assembly.finish();
  const std::vector<TrrwSeries>& all = assembly.series();
  if (all.empty()) {
    finish({Refusal::Kind::kNoSeries, {}, {}, 0});
    return reading;
  }
  if (Refusal why = fill_series_infos(all, &reading.set); why.kind != Refusal::Kind::kNone) {
    finish(std::move(why));
    return reading;
  }
  finish({});
  note_duplicate_ids(all, &reading.warnings);
  fill_values(assembly, &reading.set, &reading.measured);
  return reading;
}

}  // namespace kvr
