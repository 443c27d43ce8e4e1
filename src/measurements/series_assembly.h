#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "formats/read_report.h"
#include "formats/trrw_series.h"

namespace kvr {

/// The series of a measurement file as a whole, from the series that SeriesReader hands out
/// one by one:
/// - an id that comes back after its series ended, with years that overlap none of that
///   series' years, is the same core measured again: both join into one series from the
///   earliest year, the years between missing, each segment in its own units. It joins only
///   when one earlier series has the id (of the same format, decade or free) and the joined
///   series fits `max_length`; otherwise it stays a series of its own;
/// - a series that lost its end marker takes the units of the end marker most of the file's
///   other series use (0.01 mm when none has one); its 999 values are then 0.999 mm (0.001 mm)
///   or missing (0.01 mm).
///
/// A series of measurement records is kept as the integers of its fields with the units of
/// each segment, so that its values in single and in double precision both come from them
/// once the units are settled.
class SeriesAssembly {
 public:
  explicit SeriesAssembly(int max_length) : max_length_(max_length) {}

  /// Adds (a copy of) the next series read: the count fields of a series of measurement
  /// records, or the count values of a free-format one; the caller's buffers keep their room
  /// for the next series. Returns the position (from 0) of the series it went into: a new
  /// one, or the one it joined.
  std::size_t add(const TrrwSeries& series);
  /// Settles the series without end marker; call once, after the last add().
  void finish();

  /// The series: id, first year, count and first line of each.
  const std::vector<TrrwSeries>& series() const { return series_; }
  /// The values of series `at` (after finish()): in single precision as the value grids hold
  /// them (kMissing where missing) into `values`, and in mm in double precision (quiet NaN
  /// where missing) into `mm`, count of each. Frees the series' own copy of them.
  void take_values(std::size_t at, std::vector<float>* values, std::vector<double>* mm);
  /// The warnings of the assembly: the joins, and where series without end marker ended (in
  /// the units they were read in), in the order they came about.
  const std::vector<ReadAnomaly>& notes() const { return notes_; }

 private:
  // Years of one segment of a series and the units of its fields: 100 or 1000, 0 until
  // finish() for a segment without end marker.
  struct Segment {
    int first_year = 0;
    int last_year = 0;
    int units = 0;
  };
  // A segment without end marker, waiting for the file's units.
  struct Unsettled {
    std::size_t segment = 0;  // in Extent::segments; none for a series without values
    bool has_segment = false;
    std::vector<int> open_999;       // positions in the series
    std::vector<std::size_t> notes;  // notes_ entries whose units wait for finish()
  };
  // What the series_ entry of the same position keeps for joining and settling.
  struct Extent {
    std::vector<Segment> segments;
    std::vector<Unsettled> unsettled;
  };

  bool joins(const TrrwSeries& earlier, const Extent& extent, const TrrwSeries& later) const;
  void join(std::size_t at, const TrrwSeries& later, Unsettled* unsettled);

  int max_length_;
  std::vector<TrrwSeries> series_;
  std::vector<Extent> extents_;
  std::unordered_map<std::string, std::vector<std::size_t>> with_id_;
  int hundredths_ = 0;   // series that end with 999
  int thousandths_ = 0;  // series that end with -9999
  std::vector<ReadAnomaly> notes_;
};

}  // namespace kvr
