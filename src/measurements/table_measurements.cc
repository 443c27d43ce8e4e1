#include "measurements/table_measurements.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "formats/column_table.h"
#include "formats/noaa_template.h"

namespace kvr {
namespace {

// Decade ids are 8 characters, blank padded; a longer column name stays whole.
constexpr std::size_t kIdColumns = 8;

SeriesInfo info_of(const TableSeries& series) {
  SeriesInfo info;
  info.id = pad_right_whole(series.id, kIdColumns);
  info.first_year = series.first_year;
  info.length = static_cast<int>(series.counts.size());
  info.last_year = info.first_year + info.length - 1;
  return info;
}

// Why the series at `index` (from 0) cannot be taken, checked in the order the decade reading
// meets them: too long, years the result files cannot hold, one series too many.
Refusal series_refusal(const SeriesInfo& info, std::size_t index) {
  Refusal refusal;
  refusal.series = info;
  if (info.length > kMaxPositions) {
    refusal.kind = Refusal::Kind::kSeriesTooLong;
  } else if (info.first_year < kEarliestWritableYear || info.last_year > kLatestWritableYear) {
    refusal.kind = Refusal::Kind::kUnwritableYears;
  } else if (index >= static_cast<std::size_t>(kMaxSeries)) {
    refusal.kind = Refusal::Kind::kTooManySeries;
  }
  return refusal;
}

// The set's series and run-wide years; the refusal of the first series that cannot be taken,
// or of a span longer than the grids hold.
Refusal fill_infos(const std::vector<TableSeries>& all, MeasurementSet* set) {
  if (all.empty()) return {Refusal::Kind::kNoSeries, {}, {}, 0, {}};
  for (std::size_t k = 0; k < all.size(); ++k) {
    const SeriesInfo info = info_of(all[k]);
    if (Refusal why = series_refusal(info, k); why.kind != Refusal::Kind::kNone) return why;
    set->earliest_first_year = std::min(set->earliest_first_year, info.first_year);
    set->latest_last_year = std::max(set->latest_last_year, info.last_year);
    set->longest_length = std::max(set->longest_length, info.length);
    set->series.push_back(info);
  }
  set->time_span = set->latest_last_year - set->earliest_first_year + 1;
  if (set->time_span <= kMaxPositions) return {};
  Refusal refusal{
      Refusal::Kind::kSpanTooLong, set->series.front(), set->series.front(), set->time_span, {}};
  for (const SeriesInfo& info : set->series) {
    if (info.first_year < refusal.series.first_year) refusal.series = info;
    if (info.last_year > refusal.latest.last_year) refusal.latest = info;
  }
  return refusal;
}

// The value grid (from ring 1 of each series) and the series in double precision.
void fill_values(const std::vector<TableSeries>& all, MeasurementReading* reading) {
  MeasurementSet& set = reading->set;
  set.values.reset(set.count(), set.positions_needed(), kMissing);
  for (int j = 1; j <= set.count(); ++j) {
    const TableSeries& series = all[static_cast<std::size_t>(j - 1)];
    SeriesInfo& info = set.info(j);
    info.start_position = info.first_year - set.earliest_first_year + 1;
    const double unit = series.units_per_mm == 1000 ? 0.001 : 0.01;
    MeasuredSeries measured{series.id, series.first_year, {}};
    measured.mm.reserve(series.counts.size());
    for (int i = 1; i <= info.length; ++i) {
      const std::int32_t count = series.counts[static_cast<std::size_t>(i - 1)];
      if (count == kMissingCount) {
        measured.mm.push_back(kNotAvailable);
        continue;
      }
      // A ring of 0 is stored as 0.001, as the decade reading stores it.
      const float v = table_value_mm(count, series.units_per_mm);
      set.values(j, i) = v == 0.0f ? 0.001f : v;
      measured.mm.push_back(static_cast<double>(count) * unit);
    }
    reading->measured.push_back(std::move(measured));
  }
}

}  // namespace

MeasurementReading read_table_measurements(FileKind kind, std::istream& in) {
  MeasurementReading reading;
  reading.kind = kind;
  TableReading table;
  if (kind == FileKind::kNoaaTemplate) {
    NoaaReading noaa = read_noaa_template(in);
    reading.metadata = std::move(noaa.metadata);
    reading.variables = std::move(noaa.variables);
    table = std::move(noaa.table);
  } else {
    table = read_column_table(in);
  }
  reading.table_warnings = std::move(table.warnings);
  if (table.refused()) {
    reading.refusal.kind = Refusal::Kind::kTable;
    reading.refusal.table = table.refusal;
    return reading;
  }
  reading.refusal = fill_infos(table.series, &reading.set);
  if (reading.refusal.kind != Refusal::Kind::kNone) {
    reading.set = MeasurementSet{};
    return reading;
  }
  reading.usable = true;
  fill_values(table.series, &reading);
  return reading;
}

}  // namespace kvr
