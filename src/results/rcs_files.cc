#include "results/rcs_files.h"

#include <cstddef>
#include <ostream>

#include "numeric/smoothing_spline.h"
#include "results/table_text.h"

namespace kvr {
namespace {

std::string correlation_line(const char* what, const ChronologyCorrelation& c) {
  return std::string(what) + ": r=" + fixed_or_na(c.r, 4) + " years=" + std::to_string(c.years);
}

// Element `year` of a chronology by year, NaN outside it.
double value_at(const YearChronology& c, int year) {
  const int i = year - c.first_year;
  return i >= 0 && i < c.years() ? c.values[static_cast<std::size_t>(i)] : kNotAvailable;
}

}  // namespace

std::string no_rcs_reason(const RegionalCurve& curve) {
  switch (curve.no_rcs) {
    case NoRcsReason::kTooFewSeries:
      return "fewer than " + std::to_string(kRcsMinSeries) + " series have a value";
    case NoRcsReason::kTooFewAges:
      return "fewer than " + std::to_string(kRcsMinAges) + " ages have a value";
    case NoRcsReason::kNone:
      break;
  }
  return "";
}

void write_curve_file(std::ostream& out, const CommentHead& head, const RegionalCurve& curve) {
  write_comment_head(out, head);
  if (!curve.usable()) {
    out << "# no regional curve: " << no_rcs_reason(curve) << '\n';
  } else {
    out << "# spline: Cook-Peters, stiffness " << curve.stiffness
        << " years, f = " << kSplineHalfResponse << ", over the biweight mean by age\n";
  }
  if (curve.nonpositive_ages > 0) {
    out << "# regional curve at or below 0 at " << curve.nonpositive_ages
        << " ages: their values have no index\n";
  }
  out << "age\tn\tmean_by_age\tcurve\n";
  if (!curve.usable()) return;
  for (std::size_t a = 0; a < curve.mean_by_age.size(); ++a) {
    out << a + 1 << '\t' << curve.series_by_age[a] << '\t' << table_number(curve.mean_by_age[a])
        << '\t' << table_number(curve.curve[a]) << '\n';
  }
}

void write_rcs_file(std::ostream& out, const CommentHead& head, const RcsComparison& comparison) {
  write_comment_head(out, head);
  out << "# " << correlation_line("rank vs RCS", comparison.rank_vs_rcs) << '\n';
  out << "# " << correlation_line("residual rank vs residual RCS", comparison.residuals) << '\n';
  out << "year\trank\trank_res\trcs\trcs_res\tdepth\n";
  const YearChronology& rank = comparison.rank;
  const YearChronology& rcs = comparison.rcs.indices;
  const bool with_rcs = comparison.curve.usable();
  for (int i = 0; i < rank.years(); ++i) {
    const int year = rank.first_year + i;
    const int k = year - rcs.first_year;
    const bool in_rcs = k >= 0 && k < rcs.years();
    out << year << '\t' << table_number(rank.values[static_cast<std::size_t>(i)]) << '\t'
        << table_number(value_at(comparison.rank_residual, year)) << '\t'
        << table_number(value_at(rcs, year)) << '\t'
        << table_number(value_at(comparison.rcs.residuals, year)) << '\t'
        << (!with_rcs ? "NA" : std::to_string(in_rcs ? rcs.depth[static_cast<std::size_t>(k)] : 0))
        << '\n';
  }
}

}  // namespace kvr
