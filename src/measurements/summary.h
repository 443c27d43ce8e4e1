#pragma once

#include <span>
#include <string>
#include <vector>

#include "measurements/measurement_set.h"

namespace kvr {

/// Most series the summary takes; a larger set gets no summary (DataSummary::Kind::kTooManySeries).
inline constexpr int kSummaryMaxSeries = 15000;

/// One series as the interval search sees it. `id` as the set holds it.
struct SqcEntry {
  int last_year = 0;
  int first_year = 0;
  int length = 0;
  std::string id;
};

/// The sqc record of `entry` in a set of `count` series, 40 characters:
///   1-5 last year, 6-10 9000 - first year, 11-15 length, 16-20 first year, 21-25 count,
///   26-27 blank, 28-35 id, 36-40 blank (an id longer than 8 characters whole, the blanks
///   after it).
/// Numbers are right-aligned; one too wide for its five columns shows as "*****".
std::string sqc_record(const SqcEntry& entry, int count);

/// Puts the entries into the order of the interval search: last year descending, then first
/// year ascending, then length descending, then id descending (byte by byte, as padded to 8
/// characters). For last years
/// of 0 and above and first years up to 9000 this is the descending character order of the
/// sqc records; for negative years it stays numeric.
void sort_sqc(std::vector<SqcEntry>* entries);

/// The optimum common interval: of the spans that start at some series' first year and end
/// at some series' last year, the one with the most rings (years x number of series covering
/// the whole span). Ties go to the first candidate in the order of the distinct last years of
/// `sorted`, then of the entries of `sorted`. With no candidate above zero rings every field
/// stays 0.
struct CommonInterval {
  int start = 0;
  int end = 0;
  int years = 0;
  int series = 0;
  long long rings = 0;
};

/// The data summary of a measurement set. A series' length is its span of years, missing
/// values included. The common interval counts a series only where it has a value in every
/// year (measured_stretches), so its rings are all measured.
struct DataSummary {
  enum class Kind {
    kTooManySeries,    // more than kSummaryMaxSeries: the run must end
    kNoSeries,         // nothing to take statistics of: the count alone
    kUnreadableYears,  // a first or last year beyond five columns: no block (the run goes on)
    kBlock,            // the whole summary block
  };
  Kind kind = Kind::kNoSeries;
  int series = 0;
  int earliest_year = 0;  // the time span
  int latest_year = 0;
  float average_length = 0.0f;
  float median_length = 0.0f;
  float minimum_length = 0.0f;
  float maximum_length = 0.0f;
  long long missing_values = 0;  // missing cells inside the series' spans
  CommonInterval interval;
  SqcEntry unreadable;  // kUnreadableYears: the first series in sqc order whose years do not fit
};

/// Summarizes the set.
DataSummary summarize(const MeasurementSet& set);

/// The years first..last over which one series has a value in every year.
struct YearStretch {
  int first_year = 0;
  int last_year = 0;
};

/// The optimum common interval of stretches ordered by last year descending, then first year
/// ascending, each stretch counting as one series; in O(d^2) time for d distinct years.
CommonInterval best_interval(std::span<const YearStretch> sorted);

/// Every series' runs of consecutive values in the order of best_interval, and in *missing the
/// number of missing cells inside the series' spans. The runs of one series never overlap, so
/// a span is covered by as many runs as series. A series that the value grid does not hold (a
/// table without values) counts as measured throughout.
std::vector<YearStretch> measured_stretches(const MeasurementSet& set, long long* missing);

}  // namespace kvr
