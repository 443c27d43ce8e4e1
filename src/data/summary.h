#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "data/measurement_set.h"

namespace kvr {

/// Most series the summary takes; a larger set gets the limit messages instead.
inline constexpr int kSummaryMaxSeries = 15000;

/// Prints the framed summary block with the optimum common interval. Returns false when the
/// series count exceeds the summary's limit (the limit messages have been printed and the run
/// must end). A set without series prints only its series count; a series whose first or last
/// year does not fit five columns prints its sqc record and "error reading sqc)" instead of
/// the block. Neither ends the run.
///
/// A series' length is its span of years, missing values included. The common interval counts
/// a series only where it has a value in every year (measured_stretches), so its rings are all
/// measured. When some series hold missing values, one more line after the maximum length
/// gives their number.
[[nodiscard]] bool print_summary(std::ostream& out, const MeasurementSet& set);

/// One series as the interval search sees it. `id` is 8 characters, blank padded.
struct SqcEntry {
  int last_year = 0;
  int first_year = 0;
  int length = 0;
  std::string id;
};

/// The sqc record of `entry` in a set of `count` series, 40 characters:
///   1-5 last year, 6-10 9000 - first year, 11-15 length, 16-20 first year, 21-25 count,
///   26-27 blank, 28-35 id, 36-40 blank.
/// Numbers are right-aligned; one too wide for its five columns shows as "*****".
std::string sqc_record(const SqcEntry& entry, int count);

/// Puts the entries into the order of the interval search: last year descending, then first
/// year ascending, then length descending, then id descending (byte by byte). For last years
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

/// Finds the optimum common interval of entries in the order of sort_sqc (best_interval).
CommonInterval commint(std::span<const SqcEntry> sorted);

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
