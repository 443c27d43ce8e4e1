#include "measurements/series_assembly.h"

#include <algorithm>

#include "common/dimensions.h"

namespace kvr {

std::size_t SeriesAssembly::add(const TrrwSeries& series) {
  if (series.end_marker == EndMarker::kHundredths) ++hundredths_;
  if (series.end_marker == EndMarker::kThousandths) ++thousandths_;
  Unsettled unsettled;
  const bool lost = series.end_marker == EndMarker::kLost;
  if (lost) {
    unsettled.count = series.count;
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
    extent.years.emplace_back(series.first_year, series.first_year + series.count - 1);
  }
  if (lost) extent.unsettled.push_back(std::move(unsettled));
  same_id.push_back(series_.size());
  TrrwSeries& kept = series_.emplace_back();
  kept.id = series.id;
  kept.first_year = series.first_year;
  kept.count = series.count;
  kept.first_line = series.first_line;
  kept.values.assign(series.values.begin(), series.values.end());
  extents_.push_back(std::move(extent));
  return series_.size() - 1;
}

bool SeriesAssembly::joins(const TrrwSeries& earlier, const Extent& extent,
                           const TrrwSeries& later) const {
  if (earlier.count < 1 || later.count < 1) return false;
  const int first = later.first_year;
  const int last = later.first_year + later.count - 1;
  for (const auto& [from, to] : extent.years) {
    if (first <= to && from <= last) return false;
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

  std::vector<float> values(static_cast<std::size_t>(last - first + 1), kMissing);
  const int shift = series.first_year - first;
  std::copy(series.values.begin(), series.values.end(), values.begin() + shift);
  const int later_offset = later.first_year - first;
  std::copy(later.values.begin(), later.values.end(), values.begin() + later_offset);
  for (Unsettled& u : extent.unsettled) {
    u.offset += shift;
    for (int& p : u.open_999) p += shift;
  }
  if (unsettled != nullptr) {
    unsettled->offset = later_offset;
    for (int& p : unsettled->open_999) p += later_offset;
    extent.unsettled.push_back(std::move(*unsettled));
  }

  ReadAnomaly note;
  note.kind = ReadAnomalyKind::kJoined;
  note.line_number = later.first_line;
  note.id = series.id;
  note.year = later.first_year;
  note.last_year = later_last;
  note.other_line = series.first_line;
  note.joined_first = first;
  note.joined_last = last;
  extent.years.emplace_back(later.first_year, later_last);
  int covered = 0;
  for (const auto& [from, to] : extent.years) covered += to - from + 1;
  note.count = (last - first + 1) - covered;
  notes_.push_back(note);

  series.first_year = first;
  series.count = last - first + 1;
  series.values = std::move(values);
}

void SeriesAssembly::finish() {
  // The units that most series with an end marker name; 0.01 mm on a tie or with none.
  const bool thousandths = thousandths_ > hundredths_;
  for (std::size_t at = 0; at < series_.size(); ++at) {
    std::vector<float>& values = series_[at].values;
    for (Unsettled& u : extents_[at].unsettled) {
      if (thousandths) {
        const auto begin = values.begin() + u.offset;
        for (auto v = begin; v != begin + u.count; ++v) {
          if (!is_missing(*v)) *v *= 0.1f;
        }
      } else {
        for (const int p : u.open_999) values[static_cast<std::size_t>(p)] = kMissing;
      }
      for (const std::size_t note : u.notes) {
        notes_[note].units = thousandths ? 1000 : 100;
        notes_[note].units_series = thousandths ? thousandths_ : hundredths_;
      }
    }
    extents_[at].unsettled.clear();
  }
}

}  // namespace kvr
