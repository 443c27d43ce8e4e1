#include "measurements/series_assembly.h"

#include <algorithm>
#include <limits>

#include "common/dimensions.h"

namespace kvr {
namespace {

bool free_format(const TrrwSeries& series) { return series.end_marker == EndMarker::kNone; }

// `size` positions of `missing`, with `earlier` from position `shift` on and `later` from
// `later_offset` on.
template <typename T>
std::vector<T> joined(const std::vector<T>& earlier, int shift, const std::vector<T>& later,
                      int later_offset, int size, T missing) {
  std::vector<T> all(static_cast<std::size_t>(size), missing);
  std::copy(earlier.begin(), earlier.end(), all.begin() + shift);
  std::copy(later.begin(), later.end(), all.begin() + later_offset);
  return all;
}

}  // namespace

std::size_t SeriesAssembly::add(const TrrwSeries& series) {
  if (series.end_marker == EndMarker::kHundredths) ++hundredths_;
  if (series.end_marker == EndMarker::kThousandths) ++thousandths_;
  Unsettled unsettled;
  const bool lost = series.end_marker == EndMarker::kLost;
  if (lost) {
    unsettled.open_999 = series.open_999;
    // The notes keep their place among the others; their units come with finish().
    unsettled.notes.push_back(notes_.size());
    notes_.push_back(series.ending);
    if (series.open_999_note.count > 0) {
      unsettled.notes.push_back(notes_.size());
      notes_.push_back(series.open_999_note);
    }
  }

  std::vector<std::size_t>& same_id = with_id_[series.id];
  if (same_id.size() == 1 && joins(series_[same_id[0]], extents_[same_id[0]], series)) {
    join(same_id[0], series, lost ? &unsettled : nullptr);
    return same_id[0];
  }
  Extent extent;
  if (series.count > 0) {
    unsettled.has_segment = true;
    extent.segments.push_back({series.first_year, series.first_year + series.count - 1,
                               lost ? 0 : units_of(series.end_marker)});
  }
  if (lost) extent.unsettled.push_back(std::move(unsettled));
  same_id.push_back(series_.size());
  TrrwSeries& kept = series_.emplace_back();
  kept.id = series.id;
  kept.first_year = series.first_year;
  kept.count = series.count;
  kept.first_line = series.first_line;
  kept.end_marker = series.end_marker;
  if (free_format(series)) {
    kept.values.assign(series.values.begin(), series.values.end());
  } else {
    kept.fields.assign(series.fields.begin(), series.fields.end());
  }
  extents_.push_back(std::move(extent));
  return series_.size() - 1;
}

bool SeriesAssembly::joins(const TrrwSeries& earlier, const Extent& extent,
                           const TrrwSeries& later) const {
  if (earlier.count < 1 || later.count < 1) return false;
  if (free_format(earlier) != free_format(later)) return false;
  const int first = later.first_year;
  const int last = later.first_year + later.count - 1;
  for (const Segment& segment : extent.segments) {
    if (first <= segment.last_year && segment.first_year <= last) return false;
  }
  const int joined_first = std::min(first, earlier.first_year);
  const int joined_last = std::max(last, earlier.first_year + earlier.count - 1);
  return joined_last - joined_first + 1 <= max_length_;
}

void SeriesAssembly::join(std::size_t at, const TrrwSeries& later, Unsettled* unsettled) {
  TrrwSeries& series = series_[at];
  Extent& extent = extents_[at];
  const int later_last = later.first_year + later.count - 1;
  const int first = std::min(series.first_year, later.first_year);
  const int last = std::max(series.first_year + series.count - 1, later_last);

  const int size = last - first + 1;
  const int shift = series.first_year - first;
  const int later_offset = later.first_year - first;
  if (free_format(series)) {
    series.values = joined(series.values, shift, later.values, later_offset, size, kMissing);
  } else {
    series.fields = joined(series.fields, shift, later.fields, later_offset, size, kMissingField);
  }
  for (Unsettled& u : extent.unsettled) {
    for (int& p : u.open_999) p += shift;
  }
  if (unsettled != nullptr) {
    unsettled->segment = extent.segments.size();
    unsettled->has_segment = true;
    for (int& p : unsettled->open_999) p += later_offset;
    extent.unsettled.push_back(std::move(*unsettled));
  }
  extent.segments.push_back(
      {later.first_year, later_last, unsettled != nullptr ? 0 : units_of(later.end_marker)});

  ReadAnomaly note;
  note.kind = ReadAnomalyKind::kJoined;
  note.line_number = later.first_line;
  note.id = series.id;
  note.year = later.first_year;
  note.last_year = later_last;
  note.other_line = series.first_line;
  note.joined_first = first;
  note.joined_last = last;
  int covered = 0;
  for (const Segment& segment : extent.segments) {
    covered += segment.last_year - segment.first_year + 1;
  }
  note.count = size - covered;
  notes_.push_back(note);

  series.first_year = first;
  series.count = size;
}

void SeriesAssembly::finish() {
  // The units that most series with an end marker name; 0.01 mm on a tie or with none.
  const bool thousandths = thousandths_ > hundredths_;
  const int units = thousandths ? 1000 : 100;
  for (std::size_t at = 0; at < series_.size(); ++at) {
    Extent& extent = extents_[at];
    for (const Unsettled& u : extent.unsettled) {
      if (u.has_segment) extent.segments[u.segment].units = units;
      // In 0.01 mm a 999 that ends nothing stands for no value.
      if (!thousandths) {
        for (const int p : u.open_999)
          series_[at].fields[static_cast<std::size_t>(p)] = kMissingField;
      }
      for (const std::size_t note : u.notes) {
        notes_[note].units = units;
        notes_[note].units_series = thousandths ? thousandths_ : hundredths_;
      }
    }
    extent.unsettled.clear();
  }
}

void SeriesAssembly::take_values(std::size_t at, std::vector<float>* values,
                                 std::vector<double>* mm) {
  TrrwSeries& series = series_[at];
  const auto count = static_cast<std::size_t>(series.count);
  values->assign(count, kMissing);
  mm->assign(count, std::numeric_limits<double>::quiet_NaN());
  if (free_format(series)) {
    for (std::size_t i = 0; i < std::min(count, series.values.size()); ++i) {
      const float v = series.values[i];
      (*values)[i] = v;
      if (!is_missing(v)) (*mm)[i] = static_cast<double>(v);
    }
  } else {
    for (const Segment& segment : extents_[at].segments) {
      for (int year = segment.first_year; year <= segment.last_year; ++year) {
        const auto i = static_cast<std::size_t>(year - series.first_year);
        (*values)[i] = field_value(series.fields[i], segment.units);
        (*mm)[i] = field_mm(series.fields[i], segment.units);
      }
    }
  }
  std::vector<float>().swap(series.values);
  std::vector<int>().swap(series.fields);
}

}  // namespace kvr
