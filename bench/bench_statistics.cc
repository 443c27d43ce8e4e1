#include "bench/bench_statistics.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <utility>
#include <vector>

#include "common/dimensions.h"
#include "common/grid.h"
#include "measurements/measured_series.h"
#include "results/rcs_files.h"
#include "results/series_report_files.h"
#include "standardize/chronology.h"
#include "statistics/rcs_chronology.h"
#include "statistics/rcs_comparison.h"
#include "statistics/regional_curve.h"
#include "statistics/residual_rank_chronology.h"
#include "statistics/series_report.h"

namespace kvr::bench {
namespace {

// The time `step` takes, and the process's peak resident memory after it.
struct Measured {
  double seconds = 0.0;
  double peak_megabytes = 0.0;
};

template <typename Step>
Measured measure(Step&& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  Measured m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  m.peak_megabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return m;
}

// Ring widths in 0.01 mm that shrink with age around a common signal, with noise; every
// series from year -4000 for `years` years. The standardized grid holds the same values in
// single precision, standing in for the run's standardized series.
struct SyntheticSet {
  std::vector<MeasuredSeries> set;
  Grid<float> standardized;
};

SyntheticSet make_set(int series, int years) {
  SyntheticSet s;
  s.standardized.reset(series, years, kMissing);
  std::uint64_t state = 4711;
  auto next = [&state](int range) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(range));
  };
  std::vector<int> signal(static_cast<std::size_t>(years));
  for (int& v : signal) v = next(81) - 40;
  for (int j = 1; j <= series; ++j) {
    MeasuredSeries m{"B" + std::to_string(j), -4000, {}};
    m.mm.reserve(static_cast<std::size_t>(years));
    for (int i = 0; i < years; ++i) {
      const int field =
          std::max(5, 250 - i / 60 + signal[static_cast<std::size_t>(i)] + next(161) - 80);
      m.mm.push_back(field * 0.01);
      s.standardized(j, i + 1) = static_cast<float>(field) * 0.01f;
    }
    s.set.push_back(std::move(m));
  }
  return s;
}

void time_case(const char* label, int series, int years) {
  SyntheticSet s;
  Chronology rank;
  const Measured input = measure([&] {
    s = make_set(series, years);
    rank = build_chronology(s.standardized, series, years);
  });
  std::printf("\n== statistics, %s: %d series x %d years, every series in every year\n", label,
              series, years);
  std::printf("  step                        time   peak memory so far (input %.1f MB)\n",
              input.peak_megabytes);

  SeriesReport report;
  const Measured report_step = measure([&] { report = series_report(s.set); });
  std::printf("  series report           %8.3f s %8.1f MB  (%d segments, %d flagged)\n",
              report_step.seconds, report_step.peak_megabytes, report.set.segments,
              report.set.flagged);

  RegionalCurve curve;
  RcsChronology rcs;
  const Measured curve_step = measure([&] { curve = regional_curve(s.set); });
  const Measured rcs_step = measure([&] { rcs = rcs_chronology(s.set, curve); });
  std::printf("  RCS step                %8.3f s %8.1f MB  (curve %.3f s, chronologies %.3f s)\n",
              curve_step.seconds + rcs_step.seconds, rcs_step.peak_megabytes, curve_step.seconds,
              rcs_step.seconds);

  const Measured residual_step =
      measure([&] { (void)residual_rank_chronology(s.standardized, series, years); });
  std::printf("  residual rank chronology%8.3f s %8.1f MB  (robmean per year)\n",
              residual_step.seconds, residual_step.peak_megabytes);

  RcsComparison comparison;
  const Measured whole = measure([&] {
    RegionalCurve whole_curve = regional_curve(s.set);
    RcsChronology whole_rcs = rcs_chronology(s.set, whole_curve);
    comparison = compare_with_rcs(std::move(whole_curve), std::move(whole_rcs), s.standardized,
                                  series, years, -4000, rank);
  });
  std::printf("  whole comparison        %8.3f s %8.1f MB  (rank vs RCS r=%.4f over %d years)\n",
              whole.seconds, whole.peak_megabytes, comparison.rank_vs_rcs.r.value_or(0.0),
              comparison.rank_vs_rcs.years);

  // The four tables, formatted in full and thrown away.
  std::ofstream nowhere("/dev/null");
  const Measured files = measure([&] {
    const CommentHead head{"bench.rwl", {}, ""};
    write_series_file(nowhere, head, report);
    write_segments_file(nowhere, head, report);
    write_curve_file(nowhere, head, comparison.curve);
    write_rcs_file(nowhere, head, comparison);
  });
  std::printf("  four result tables      %8.3f s %8.1f MB\n", files.seconds, files.peak_megabytes);
}

}  // namespace

void time_statistics() {
  // Each case in a process of its own, so that the peak memory it shows is its own and not
  // that of the steps timed before it.
  const struct {
    const char* label;
    int series;
    int years;
  } cases[] = {{"archive-sized", 60, 300}, {"largest input", kMaxSeries, kMaxPositions}};
  for (const auto& c : cases) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
      time_case(c.label, c.series, c.years);
      std::fflush(stdout);
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
  }
}

}  // namespace kvr::bench
