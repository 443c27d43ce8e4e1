#include "bench/bench_phases.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "common/dimensions.h"
#include "io/free_memory.h"
#include "measurements/calendar_shift.h"
#include "measurements/measurement_file.h"
#include "measurements/measurement_set.h"
#include "rankcls_reference.h"
#include "results/modeled_files.h"
#include "results/rcs_files.h"
#include "results/result_table.h"
#include "results/series_report_files.h"
#include "results/signal_files.h"
#include "standardize/chronology.h"
#include "standardize/rankcls.h"
#include "statistics/rcs_chronology.h"
#include "statistics/rcs_comparison.h"
#include "statistics/regional_curve.h"
#include "statistics/series_report.h"
#include "statistics/signal_strength.h"

namespace kvr::bench {
namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The process's peak resident memory so far, in megabytes.
double peak_megabytes() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Classes of `size` positions over the calendar domain, the RAC the first.
AgeClassTable fixed_classes(int domain, int size) {
  AgeClassTable table;
  table.class_size = size;
  for (int start = 1; start <= domain; start += size) {
    table.classes.push_back({start, start + size - 1});
  }
  table.rac_index = 1;
  table.rac_start = table.classes[0].start;
  table.rac_end = table.classes[0].end;
  return table;
}

}  // namespace

void time_phases(const std::filesystem::path& input, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);

  Clock::time_point start = Clock::now();
  MeasurementSet set;
  std::vector<MeasuredSeries> measured;
  {
    std::ifstream in(input, std::ios::binary);
    MeasurementReading reading = read_measurement_file(in);
    if (!reading.usable) {
      std::printf("reading failed: refusal %d\n", static_cast<int>(reading.refusal.kind));
      return;
    }
    set = std::move(reading.set);
    measured = std::move(reading.measured);
  }
  const double read_time = seconds_since(start);
  const double read_peak = peak_megabytes();

  // As the run does: what needs the measurements in double precision, then they go.
  start = Clock::now();
  const SeriesReport report = series_report(measured);
  const double report_time = seconds_since(start);
  const double report_peak = peak_megabytes();
  start = Clock::now();
  RegionalCurve curve = regional_curve(measured);
  RcsChronology rcs = rcs_chronology(measured, curve);
  const double rcs_time = seconds_since(start);
  const double rcs_peak = peak_megabytes();
  const std::size_t measured_bytes = value_count(measured) * sizeof(double);
  std::vector<MeasuredSeries>().swap(measured);
  release_free_memory(measured_bytes);

  start = Clock::now();
  shift_to_calendar(set, &set.values);
  const double shift_time = seconds_since(start);
  const double shift_peak = peak_megabytes();

  std::vector<float> all_values;
  for (int j = 1; j <= set.count(); ++j) {
    for (int p = 1; p <= set.values.cols(); ++p) {
      if (!is_missing(set.values(j, p))) all_values.push_back(set.values(j, p));
    }
  }
  start = Clock::now();
  std::sort(all_values.begin(), all_values.end());
  const double sort_floor = seconds_since(start);

  const AgeClassTable table = fixed_classes(set.time_span, 100);
  start = Clock::now();
  ClassRanks ranks;
  rankcls(set.values, set.count(), table, &ranks);
  const double rank_time = seconds_since(start);
  const double rank_peak = peak_megabytes();

  Grid<float> standardized(set.count(), set.values.cols(), kMissing);
  start = Clock::now();
  replace_by_rac(set.values, ranks, table, set, false, &standardized);
  const double replace_time = seconds_since(start);
  const double replace_peak = peak_megabytes();

  start = Clock::now();
  const Chronology chronology = build_chronology(standardized, set.count(), set.time_span);
  const double chronology_time = seconds_since(start);
  const double chronology_peak = peak_megabytes();

  start = Clock::now();
  const SignalStrength signal =
      signal_strength(standardized, set.count(), set.time_span, chronology.sample_depth);
  const double signal_time = seconds_since(start);
  const double signal_peak = peak_megabytes();

  start = Clock::now();
  const RcsComparison comparison =
      compare_with_rcs(std::move(curve), std::move(rcs), standardized, set.count(), set.time_span,
                       set.earliest_first_year, chronology);
  const double comparison_time = seconds_since(start);
  const double comparison_peak = peak_megabytes();

  const std::string title(60, ' ');
  const std::string name = "bench.rwl" + std::string(51, ' ');
  start = Clock::now();
  {
    std::ofstream table_file(folder / "bench.rwl_KVR.txt", std::ios::binary);
    write_result_table(table_file, set, standardized, chronology, false, title);
  }
  const double table_time = seconds_since(start);
  const double table_peak = peak_megabytes();
  start = Clock::now();
  {
    std::ofstream raw(folder / "KVRmodeled.raw", std::ios::binary);
    write_modeled_raw(raw, name, title, set, standardized);
    std::ofstream crn(folder / "KVRmodeled.crn", std::ios::binary);
    write_modeled_crn(crn, name, title, false, chronology, set.earliest_first_year);
  }
  const double decade_time = seconds_since(start);
  const double decade_peak = peak_megabytes();
  const CommentHead head{name, {}, title};
  start = Clock::now();
  {
    std::ofstream signal_file(folder / "KVRsignal.txt", std::ios::binary);
    write_signal_file(signal_file, head, signal, set.earliest_first_year);
    std::ofstream sss(folder / "KVRsss.txt", std::ios::binary);
    write_sss_file(sss, head, signal, chronology.sample_depth, set.earliest_first_year);
  }
  const double signal_files_time = seconds_since(start);
  start = Clock::now();
  {
    std::ofstream series(folder / kSeriesReportFile, std::ios::binary);
    write_series_file(series, head, report);
    std::ofstream segments(folder / kSegmentsFile, std::ios::binary);
    write_segments_file(segments, head, report);
    std::ofstream curve_file(folder / kCurveFile, std::ios::binary);
    write_curve_file(curve_file, head, comparison.curve);
    std::ofstream rcs_file(folder / kRcsFile, std::ios::binary);
    write_rcs_file(rcs_file, head, comparison);
  }
  const double report_files_time = seconds_since(start);
  const double report_files_peak = peak_megabytes();

  std::printf("in-process steps (%zu values):\n", all_values.size());
  std::printf("  step                    time   peak memory so far\n");
  std::printf("  read input          %8.3f s %8.1f MB\n", read_time, read_peak);
  std::printf("  series report       %8.3f s %8.1f MB  (%d series, %d segments)\n", report_time,
              report_peak, report.set.series, report.set.segments);
  std::printf("  regional curve, RCS %8.3f s %8.1f MB  (%d ages)\n", rcs_time, rcs_peak,
              comparison.curve.ages());
  std::printf("  calendar shift      %8.3f s %8.1f MB\n", shift_time, shift_peak);
  std::printf(
      "  rankcls             %8.3f s %8.1f MB  (std::sort of all values: %.3f s, ratio %.1f)\n",
      rank_time, rank_peak, sort_floor, rank_time / sort_floor);
  std::printf("  replacement         %8.3f s %8.1f MB\n", replace_time, replace_peak);
  std::printf("  chronology          %8.3f s %8.1f MB\n", chronology_time, chronology_peak);
  std::printf("  signal strength     %8.3f s %8.1f MB  (%d windows, whole rbar over %d pairs)\n",
              signal_time, signal_peak, static_cast<int>(signal.windows.size()),
              signal.whole.pairs);
  std::printf("  RCS comparison      %8.3f s %8.1f MB  (residual rank chronology; r = %.4f)\n",
              comparison_time, comparison_peak, comparison.rank_vs_rcs.r.value_or(0.0));
  std::printf("  result table        %8.3f s %8.1f MB\n", table_time, table_peak);
  std::printf("  decade files        %8.3f s %8.1f MB\n", decade_time, decade_peak);
  std::printf("  signal files        %8.3f s\n", signal_files_time);
  std::printf("  report, RCS tables  %8.3f s %8.1f MB\n", report_files_time, report_files_peak);
}

double time_reading(const std::filesystem::path& input) {
  const Clock::time_point start = Clock::now();
  std::ifstream in(input, std::ios::binary);
  const MeasurementReading reading = read_measurement_file(in);
  const double seconds = seconds_since(start);
  if (!reading.usable)
    std::printf("reading failed: refusal %d\n", static_cast<int>(reading.refusal.kind));
  return seconds;
}

void time_reference_ranking() {
  // A mid-sized calendar-aligned set: 100 series of 300 to 600 years within 600 years, values
  // on a coarse grid so that ties are common.
  constexpr int kSeries = 100;
  constexpr int kSpan = 600;
  MeasurementSet set;
  set.values.reset(kSeries, kSpan, kMissing);
  std::uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int j = 1; j <= kSeries; ++j) {
    SeriesInfo info;
    info.length = 300 + static_cast<int>(next() % 301);
    info.start_position =
        1 + static_cast<int>(next() % static_cast<std::uint32_t>(kSpan - info.length + 1));
    info.first_year = 1400 + info.start_position - 1;
    info.last_year = info.first_year + info.length - 1;
    set.series.push_back(info);
    for (int p = info.start_position; p < info.start_position + info.length; ++p) {
      set.values(j, p) = static_cast<float>(next() % 500) * 0.01f + 0.01f;
    }
  }
  set.earliest_first_year = 1400;
  set.latest_last_year = 1400 + kSpan - 1;
  set.time_span = kSpan;
  set.longest_length = kSpan;
  const AgeClassTable table = fixed_classes(kSpan, 100);
  std::ostringstream messages;

  Clock::time_point start = Clock::now();
  ClassRanks fast;
  rankcls(set.values, kSeries, table, &fast);
  Grid<float> fast_values(kSeries, kSpan, kMissing);
  replace_by_rac(set.values, fast, table, set, false, &fast_values);
  const double fast_time = seconds_since(start);

  start = Clock::now();
  ClassRanks reference;
  rankcls_reference(set.values, kSeries, table, &reference, messages);
  Grid<float> reference_values(kSeries, kSpan, kMissing);
  replace_by_rac_reference(set.values, reference, table, set, false, &reference_values);
  const double reference_time = seconds_since(start);

  bool same = true;
  for (int j = 1; j <= kSeries; ++j) {
    for (int p = 1; p <= kSpan; ++p) {
      same = same && fast.ranks(j, p) == reference.ranks(j, p) &&
             fast_values(j, p) == reference_values(j, p);
    }
  }
  std::printf("\n== ranking and replacement, %d series over %d years, classes of 100:\n", kSeries,
              kSpan);
  std::printf("  step-by-step scans %8.3f s, fast method %8.3f s, speed-up %.0fx, results %s\n",
              reference_time, fast_time, reference_time / fast_time,
              same ? "identical" : "DIFFERENT");
}

}  // namespace kvr::bench
