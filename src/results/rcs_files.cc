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
  std::string text;
  for (std::size_t a = 0; a < curve.mean_by_age.size(); ++a) {
    append_integer(&text, static_cast<long long>(a) + 1);
    text += '\t';
    append_integer(&text, curve.series_by_age[a]);
    text += '\t';
    append_table_number(&text, curve.mean_by_age[a]);
    text += '\t';
    append_table_number(&text, curve.curve[a]);
    text += '\n';
  }
  out << text;
}

void write_rcs_file(std::ostream& out, const CommentHead& head, const RcsComparison& comparison) {
  write_comment_head(out, head);
  out << "# " << correlation_line("rank vs RCS", comparison.rank_vs_rcs) << '\n';
  out << "# " << correlation_line("residual rank vs residual RCS", comparison.residuals) << '\n';
  out << "year\trank\trank_res\trcs\trcs_res\tdepth\n";
  const YearChronology& rank = comparison.rank;
  const YearChronology& rcs = comparison.rcs.indices;
  const bool with_rcs = comparison.curve.usable();
  std::string text;
  for (int i = 0; i < rank.years(); ++i) {
    const int year = rank.first_year + i;
    const int k = year - rcs.first_year;
    const bool in_rcs = k >= 0 && k < rcs.years();
    append_integer(&text, year);
    for (const double v :
         {rank.values[static_cast<std::size_t>(i)], value_at(comparison.rank_residual, year),
          value_at(rcs, year), value_at(comparison.rcs.residuals, year)}) {
      text += '\t';
      append_table_number(&text, v);
    }
    text += '\t';
    if (with_rcs) {
      append_integer(&text, in_rcs ? rcs.depth[static_cast<std::size_t>(k)] : 0);
    } else {
      text += "NA";
    }
    text += '\n';
  }
  out << text;
}

}  // namespace kvr
