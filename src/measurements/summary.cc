#include "measurements/summary.h"

#include <algorithm>
#include <cstddef>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "numeric/quicksort.h"

namespace kvr {
namespace {

// Five-column fields of the sqc record hold -9999 to 99999.
bool fits_five_columns(int v) { return v >= -9999 && v <= 99999; }

}  // namespace

std::string sqc_record(const SqcEntry& entry, int count) {
  std::string record;
  record.reserve(40);
  record += format_int(entry.last_year, 5);
  record += format_int(9000LL - entry.first_year, 5);
  record += format_int(entry.length, 5);
  record += format_int(entry.first_year, 5);
  record += format_int(count, 5);
  record += "  ";
  record += pad_right_whole(entry.id, 8);
  record += "     ";
  return record;
}

void sort_sqc(std::vector<SqcEntry>* entries) {
  // Entries that compare equal have equal fields throughout, so any sort gives the same
  // sequence as the selection sort over the record texts.
  std::sort(entries->begin(), entries->end(), [](const SqcEntry& a, const SqcEntry& b) {
    if (a.last_year != b.last_year) return a.last_year > b.last_year;
    if (a.first_year != b.first_year) return a.first_year < b.first_year;
    if (a.length != b.length) return a.length > b.length;
    return pad_right_whole(a.id, 8) > pad_right_whole(b.id, 8);
  });
}

CommonInterval best_interval(std::span<const YearStretch> sorted) {
  // The candidates are visited in the order of the plain scan: each distinct last year E
  // (latest first), then each entry's first year S. A first year met again gives the same
  // candidate, which cannot beat itself, so each distinct S is tried once, where it first
  // appears. The series covering [S, E] are those with a last year of at least E, a prefix
  // of the sorted entries, whose first year is at most S. Per E the prefix grows by E's own
  // entries; a running count per distinct first year and its cumulative sums then give
  // every S's count at once.
  const std::size_t n = sorted.size();
  std::vector<int> first_years;
  first_years.reserve(n);
  for (const YearStretch& e : sorted) first_years.push_back(e.first_year);
  std::sort(first_years.begin(), first_years.end());
  first_years.erase(std::unique(first_years.begin(), first_years.end()), first_years.end());

  std::vector<std::size_t> rank(n);
  std::vector<char> seen(first_years.size(), 0);
  std::vector<std::size_t> starts;  // ranks of the distinct first years, as first met
  for (std::size_t m = 0; m < n; ++m) {
    rank[m] = static_cast<std::size_t>(
        std::lower_bound(first_years.begin(), first_years.end(), sorted[m].first_year) -
        first_years.begin());
    if (!seen[rank[m]]) {
      seen[rank[m]] = 1;
      starts.push_back(rank[m]);
    }
  }

  std::vector<int> starting(first_years.size(), 0);  // prefix entries per first year
  std::vector<int> covering(first_years.size(), 0);  // prefix entries with first year <= it
  CommonInterval best;
  std::size_t prefix = 0;
  while (prefix < n) {
    const int end = sorted[prefix].last_year;
    while (prefix < n && sorted[prefix].last_year == end) ++starting[rank[prefix++]];
    int running = 0;
    for (std::size_t r = 0; r < starting.size(); ++r) {
      running += starting[r];
      covering[r] = running;
    }
    for (const std::size_t r : starts) {
      const int start = first_years[r];
      const long long years = static_cast<long long>(end) - start + 1;
      const int covered = covering[r];
      const long long rings = years * covered;
      if (rings > best.rings) {
        best.rings = rings;
        best.start = start;
        best.end = end;
        best.years = static_cast<int>(years);
        best.series = covered;
      }
    }
  }
  return best;
}

std::vector<YearStretch> measured_stretches(const MeasurementSet& set, long long* missing) {
  std::vector<YearStretch> stretches;
  *missing = 0;
  for (int j = 1; j <= set.count(); ++j) {
    const SeriesInfo& info = set.info(j);
    if (j > set.values.rows() || info.length > set.values.cols()) {
      if (info.length > 0) stretches.push_back({info.first_year, info.last_year});
      continue;
    }
    const float* values = set.values.row(j);
    int t = 1;
    while (t <= info.length) {
      if (is_missing(values[t - 1])) {
        ++*missing;
        ++t;
        continue;
      }
      const int first = t;
      while (t <= info.length && !is_missing(values[t - 1])) ++t;
      stretches.push_back({info.first_year + first - 1, info.first_year + t - 2});
    }
  }
  // The order of the interval search: last year descending, then first year ascending.
  std::sort(stretches.begin(), stretches.end(), [](const YearStretch& a, const YearStretch& b) {
    if (a.last_year != b.last_year) return a.last_year > b.last_year;
    return a.first_year < b.first_year;
  });
  return stretches;
}

DataSummary summarize(const MeasurementSet& set) {
  DataSummary summary;
  const int n = set.count();
  summary.series = n;
  if (n > kSummaryMaxSeries) {
    summary.kind = DataSummary::Kind::kTooManySeries;
    return summary;
  }
  if (n == 0) {
    summary.kind = DataSummary::Kind::kNoSeries;
    return summary;
  }

  float length_sum = 0.0f;
  std::vector<float> lengths;
  lengths.reserve(static_cast<std::size_t>(n));
  std::vector<SqcEntry> entries;
  entries.reserve(static_cast<std::size_t>(n));
  int earliest = set.info(1).first_year;
  int latest = set.info(1).first_year + set.info(1).length - 1;
  for (int j = 1; j <= n; ++j) {
    const SeriesInfo& info = set.info(j);
    const int last_year = info.first_year + info.length - 1;
    length_sum += static_cast<float>(info.length);
    lengths.push_back(static_cast<float>(info.length));
    earliest = std::min(earliest, info.first_year);
    latest = std::max(latest, last_year);
    entries.push_back({last_year, info.first_year, info.length, info.id});
  }

  quicksort(lengths);
  const std::size_t count = lengths.size();
  summary.minimum_length = lengths.front();
  summary.maximum_length = lengths.back();
  summary.median_length =
      count % 2 == 1 ? lengths[count / 2] : (lengths[count / 2 - 1] + lengths[count / 2]) / 2.0f;
  summary.average_length = length_sum / static_cast<float>(n);
  summary.earliest_year = earliest;
  summary.latest_year = latest;

  sort_sqc(&entries);
  // The interval search reads the years back from the records' five-column fields; a year
  // that did not fit there cannot be read back, and the summary stops short of the block.
  for (const SqcEntry& e : entries) {
    if (!fits_five_columns(e.last_year) || !fits_five_columns(e.first_year)) {
      summary.kind = DataSummary::Kind::kUnreadableYears;
      summary.unreadable = e;
      return summary;
    }
  }

  summary.kind = DataSummary::Kind::kBlock;
  summary.interval = best_interval(measured_stretches(set, &summary.missing_values));
  return summary;
}

}  // namespace kvr
