#include "results/modeled_files.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <unordered_map>
#include <utility>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "formats/trrw_write.h"
#include "results/pieces_in_turn.h"
#include "results/run_title.h"

namespace kvr {
namespace {

constexpr std::size_t kHeaderColumns = 60;
constexpr std::string_view kRecordTag = "   ";
// The largest sample depth the three columns of an index record hold.
constexpr int kLargestIndexDepth = 999;
// Series of KVRmodeled.raw formatted as one piece.
constexpr int kSeriesPerPiece = 32;

void write_header(std::ostream& out, const std::string& input_name, const std::string& run_title,
                  std::string_view third_line) {
  out << pad_right(input_name, kHeaderColumns) << '\n'
      << pad_right(run_title, kHeaderColumns) << '\n'
      << third_line << '\n';
}

// The value x 1000, rounded as the index writer rounds it, fits the four columns and is not
// taken for a filler (9990 and above) by a reader.
bool fits_index_field(float v) {
  const float scaled = std::round(v * 1000.0f);
  return scaled >= -999.0f && scaled <= 9989.0f;
}

bool has_value(const Grid<float>& grid, int row, int col) {
  return grid.contains(row, col) && !is_missing(grid(row, col));
}

// Series j as KVRmodeled.raw holds it: its calendar span from its first value to its last,
// every value at its year, a missing one in between as the missing code.
TrrwSeries modeled_series(const MeasurementSet& set, const Grid<float>& by_year, int j) {
  const SeriesInfo& info = set.info(j);
  TrrwSeries series;
  series.id = info.id;
  int first = info.start_position;
  int last = info.start_position + info.length - 1;
  while (first <= last && !has_value(by_year, j, first)) ++first;
  while (last >= first && !has_value(by_year, j, last)) --last;
  series.first_year = info.first_year + (first - info.start_position);
  for (int p = first; p <= last; ++p) {
    series.values.push_back(has_value(by_year, j, p) ? by_year(j, p) : kMissing);
  }
  series.count = static_cast<int>(series.values.size());
  return series;
}

// The ids as the records of KVRmodeled.raw hold them, each with the whole ids written so.
class WrittenIds {
 public:
  // Notes the whole id `id` (blank padded) of a series written from `first_year`.
  void note(const std::string& id, int first_year) {
    const int width = record_id_width(WriteMode::kMeasurements, first_year);
    std::string written = trim_right(pad_right(id, static_cast<std::size_t>(width)));
    std::string whole = trim_right(id);
    const auto [at, added] = index_.emplace(written, ids_.size());
    if (added) {
      ids_.push_back({std::move(written), width, {std::move(whole)}});
      return;
    }
    std::vector<std::string>& same = ids_[at->second].ids;
    if (std::find(same.begin(), same.end(), whole) == same.end()) same.push_back(whole);
  }
  // The written ids that more than one whole id became.
  std::vector<SameCutId> shared() && {
    std::erase_if(ids_, [](const SameCutId& id) { return id.ids.size() < 2; });
    return std::move(ids_);
  }

 private:
  std::vector<SameCutId> ids_;
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace

std::vector<SameCutId> write_modeled_raw(std::ostream& out, const std::string& input_name,
                                         const std::string& run_title, const MeasurementSet& set,
                                         const Grid<float>& by_year) {
  write_header(out, input_name, run_title, "Rank Adjusted Standardized values");
  WrittenIds written_ids;
  for (int j = 1; j <= set.count(); ++j) {
    const TrrwSeries series = modeled_series(set, by_year, j);
    if (series.count > 0) written_ids.note(set.info(j).id, series.first_year);
  }
  // The records of kSeriesPerPiece series at a time, formatted on every core at once.
  const int pieces = (set.count() + kSeriesPerPiece - 1) / kSeriesPerPiece;
  write_pieces_in_turn(out, pieces, [&](int piece, std::string* text) {
    const int first = 1 + piece * kSeriesPerPiece;
    for (int j = first; j <= std::min(set.count(), first + kSeriesPerPiece - 1); ++j) {
      trrw_append(text, WriteMode::kMeasurements, modeled_series(set, by_year, j), kRecordTag);
    }
  });
  return std::move(written_ids).shared();
}

CrnAdjustments write_modeled_crn(std::ostream& out, const std::string& input_name,
                                 const std::string& run_title, bool age_aligned,
                                 const Chronology& chronology, int first_year) {
  write_header(out, input_name, run_title, alignment_text(age_aligned));
  TrrwSeries series;
  series.id = "KVRcrn";
  series.first_year = first_year;
  series.count = chronology.years();
  series.values = chronology.robust_mean;
  series.depths = chronology.sample_depth;
  CrnAdjustments adjusted;
  for (std::size_t y = 0; y < series.values.size(); ++y) {
    const int year = first_year + static_cast<int>(y);
    float& v = series.values[y];
    if (!is_missing(v) && !fits_index_field(v)) {
      v = kMissing;
      adjusted.unwritable_years.push_back(year);
    }
    if (y < series.depths.size() && series.depths[y] > kLargestIndexDepth) {
      series.depths[y] = kLargestIndexDepth;
      adjusted.capped_depth_years.push_back(year);
    }
  }
  trrw_write(out, WriteMode::kIndex, series, kRecordTag);
  return adjusted;
}

}  // namespace kvr
