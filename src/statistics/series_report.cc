#include "statistics/series_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

#include "common/parallel.h"
#include "numeric/ar_model.h"
#include "numeric/correlation.h"
#include "statistics/series_report_years.h"

namespace kvr {
namespace {

// The prewhitened values and their masters centre on 1 (a mean-scaled series keeps the mean
// 1 through prewhitening), so sums about 1 do not cancel.
constexpr double kPairShift = 1.0;

// ceil(a / b) for b > 0, also for a < 0.
int ceil_div(int a, int b) {
  const int q = a / b;
  return q * b < a ? q + 1 : q;
}

// The first multiple of kSegmentOrigin at or after `year`.
int first_segment_start(int year) { return ceil_div(year, kSegmentOrigin) * kSegmentOrigin; }

// One series' part in the masters: its model, the filter fed with its values in order and
// the running sums of its pairs with its master: of the stretch in hand (the years before the
// first segment, then each half of a segment), of the half before it, and of the years before
// (whole, which takes in each stretch as it ends).
struct Member {
  double inverse_mean = 0.0;  // 1 / the series' mean
  ArModel model;
  std::optional<ArResiduals> residuals;
  PairSums current{kPairShift, kPairShift};
  PairSums previous_half{kPairShift, kPairShift};
  PairSums whole{kPairShift, kPairShift};
};

double mean_of_present(const std::vector<SeriesFigures>& all, double SeriesFigures::*figure) {
  double sum = 0.0;
  int count = 0;
  for (const SeriesFigures& f : all) {
    if (std::isnan(f.*figure)) continue;
    sum += f.*figure;
    ++count;
  }
  return count > 0 ? sum / count : kNotAvailable;
}

// Each series' slot for every segment that fits within its years, in one array (series by
// series, segments by start); the slots of segments a series does not fill are dropped at the
// end.
struct SegmentSlots {
  std::vector<std::size_t> first_slot;  // of series j; element count: their number
  std::vector<int> first_start;         // the start of series j's first slot

  [[nodiscard]] std::size_t at(std::size_t j, int start) const {
    return first_slot[j] + static_cast<std::size_t>((start - first_start[j]) / kSegmentLag);
  }
};

SegmentSlots segment_slots(const std::vector<Member>& members,
                           const std::vector<PositionSpan>& spans, int origin, int last_start) {
  const std::size_t count = members.size();
  SegmentSlots slots{std::vector<std::size_t>(count + 1, 0), std::vector<int>(count, 0)};
  for (std::size_t j = 0; j < count; ++j) {
    std::size_t n = 0;
    if (members[j].residuals) {
      slots.first_start[j] =
          origin + ceil_div(std::max(spans[j].first - origin, 0), kSegmentLag) * kSegmentLag;
      const int last = std::min(spans[j].last - (kSegmentLength - 1), last_start);
      if (slots.first_start[j] <= last) {
        n = static_cast<std::size_t>((last - slots.first_start[j]) / kSegmentLag + 1);
      }
    }
    slots.first_slot[j + 1] = slots.first_slot[j] + n;
  }
  return slots;
}

SetFigures set_figures(const SeriesReport& report) {
  SetFigures set;
  set.series = static_cast<int>(report.series.size());
  set.mean_intercor = mean_of_present(report.series, &SeriesFigures::intercor);
  set.mean_sens1 = mean_of_present(report.series, &SeriesFigures::sens1);
  set.mean_ar1 = mean_of_present(report.series, &SeriesFigures::ar1);
  set.segments = static_cast<int>(report.segments.size());
  set.flagged =
      static_cast<int>(std::count_if(report.segments.begin(), report.segments.end(),
                                     [](const SegmentFigures& s) { return s.flagged(); }));
  return set;
}

}  // namespace

SeriesReport series_report(std::span<const MeasuredSeries> set) {
  SeriesReport report;
  const std::size_t count = set.size();
  std::vector<Member> members(count);
  std::vector<PositionSpan> spans(count);  // empty for series outside the masters
  report.series.resize(count);
  // Each series' figures and model on its own: both cores, each with its work arrays.
  std::array<SeriesFiguresWorkspace, kWorkers> workspaces;
  std::array<std::vector<double>, kWorkers> scaled_values;
  const std::size_t values = value_count(set);
  share_out(static_cast<int>(count), values, [&](int index, int worker) {
    const auto j = static_cast<std::size_t>(index);
    SeriesFiguresWorkspace& workspace = workspaces[static_cast<std::size_t>(worker)];
    std::vector<double>& scaled = scaled_values[static_cast<std::size_t>(worker)];
    SeriesFigures figures = describe_series(set[j], &workspace);
    if (figures.values >= kArMinValues && figures.mean != 0.0) {
      // Scaled by the reciprocal, here and in the walk, so that both see the same values.
      const double inverse_mean = 1.0 / figures.mean;
      scaled.resize(workspace.values.size());
      for (std::size_t t = 0; t < scaled.size(); ++t)
        scaled[t] = workspace.values[t] * inverse_mean;
      if (std::optional<ArModel> model = fit_ar_model(scaled)) {
        figures.ar_order = model->order;
        members[j].inverse_mean = inverse_mean;
        members[j].model = std::move(*model);
        members[j].residuals.emplace(members[j].model);
        spans[j] = {figures.first, figures.last};
      }
    }
    report.series[j] = std::move(figures);
  });
  int earliest = std::numeric_limits<int>::max();
  int latest = std::numeric_limits<int>::min();
  for (const SeriesFigures& figures : report.series) {
    if (figures.values > 0) {
      earliest = std::min(earliest, figures.first);
      latest = std::max(latest, figures.last);
    }
  }

  if (earliest <= latest) {
    const int origin = first_segment_start(earliest);
    const int last_start = latest - (kSegmentLength - 1);
    const SegmentSlots slots = segment_slots(members, spans, origin, last_start);
    report.segments.assign(slots.first_slot.back(), SegmentFigures{-1, 0});

    auto fill = [&](std::size_t j, int from, std::span<double> out) {
      const double* mm = set[j].mm.data() + (from - set[j].first_year);
      const double inverse_mean = members[j].inverse_mean;
      for (std::size_t k = 0; k < out.size(); ++k) out[k] = mm[k] * inverse_mean;
      members[j].residuals->run_in_place(out);
    };
    // At the end of the stretch that ends with `year`: when it is the half of a segment that
    // starts at `half_start`, the segment made of the half before it and this one.
    auto close_stretch = [&](std::size_t j, int year) {
      const int half_start = year - (kSegmentLag - 1);
      const int segment_start = half_start - kSegmentLag;
      const bool valid = segment_start >= origin && segment_start <= last_start;
      Member& m = members[j];
      m.whole.merge(m.current);
      if (valid && m.previous_half.count() == kSegmentLag &&
          m.current.count() == kSegmentLength - kSegmentLag) {
        PairSums both = m.previous_half;
        both.merge(m.current);
        SegmentFigures& s = report.segments[slots.at(j, segment_start)];
        s = {static_cast<int>(j), segment_start};
        if (const std::optional<CorrelationTest> test = correlation_test(both)) {
          s.r = test->r;
          s.p = test->p;
        }
      }
      m.previous_half = half_start >= origin ? m.current : PairSums(kPairShift, kPairShift);
      m.current = PairSums(kPairShift, kPairShift);
    };
    // Each series' pairs with its master, year by year; stretches end before the first
    // segment and at the end of each half.
    auto take = [&](std::size_t j, const MasterBlock& block) {
      if (!members[j].residuals) return;
      const int from = std::max(block.first(), spans[j].first);
      const int to = std::min(block.last(), spans[j].last);
      for (int year = block.first(); year <= block.last(); ++year) {
        if (year >= from && year <= to) {
          const double v = block.value(j, year);
          const double master = block.master(j, year);
          if (!std::isnan(v) && !std::isnan(master)) members[j].current.add(v, master);
        }
        if (year == origin - 1 || (year >= origin && (year - origin + 1) % kSegmentLag == 0)) {
          close_stretch(j, year);
        }
      }
    };
    for_each_master_block(spans, earliest, latest, fill, take);
    for (Member& m : members) m.whole.merge(m.current);
    std::erase_if(report.segments, [](const SegmentFigures& s) { return s.series < 0; });
  }

  for (std::size_t j = 0; j < count; ++j) {
    if (members[j].residuals) {
      if (const std::optional<CorrelationTest> test = correlation_test(members[j].whole)) {
        report.series[j].intercor = test->r;
        report.series[j].intercor_p = test->p;
      }
    }
  }
  report.set = set_figures(report);
  return report;
}

}  // namespace kvr
