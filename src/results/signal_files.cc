#include "results/signal_files.h"

#include <cstdio>
#include <ostream>

namespace kvr {
namespace {

// A calendar year, or "never".
std::string year_or_never(const std::optional<int>& position, int first_year) {
  return position ? std::to_string(first_year + *position - 1) : "never";
}

}  // namespace

std::string figure_text(const std::optional<double>& v, int decimals) {
  if (!v) return "NA";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, *v);
  return text;
}

std::string whole_line(const SignalFigures& f) {
  return "whole chronology: rbar=" + figure_text(f.rbar, 4) + " n=" + std::to_string(f.series) +
         " pairs=" + std::to_string(f.pairs) + " EPS=" + figure_text(f.eps, 4) +
         " SNR=" + figure_text(f.snr, 2);
}

std::string reliable_line(const SignalStrength& s, int first_year) {
  return "reliable from: EPS=" + year_or_never(s.eps_reliable_from, first_year) +
         " SSS=" + year_or_never(s.sss_reliable_from, first_year);
}

void write_signal_file(std::ostream& out, const CommentHead& head, const SignalStrength& strength,
                       int first_year) {
  write_comment_head(out, head);
  out << "# method: Pearson correlation of each pair of series with at least "
      << kSignalMinCommonYears << " common years; running windows of " << kSignalWindowLength
      << " years lagged " << kSignalWindowLag << '\n';
  out << "# " << whole_line(strength.whole) << '\n';
  out << "# " << reliable_line(strength, first_year) << '\n';
  out << "start\tmiddle\tend\tn\tpairs\trbar\tEPS\tSNR\n";
  for (const SignalWindow& w : strength.windows) {
    const int start = first_year + w.first - 1;
    const int end = first_year + w.last - 1;
    // (start + end) / 2 rounded down, also for years before 0.
    const int middle = start + (end - start) / 2;
    const SignalFigures& f = w.figures;
    out << start << '\t' << middle << '\t' << end << '\t' << f.series << '\t' << f.pairs << '\t'
        << figure_text(f.rbar, 4) << '\t' << figure_text(f.eps, 4) << '\t' << figure_text(f.snr, 2)
        << '\n';
  }
}

void write_sss_file(std::ostream& out, const CommentHead& head, const SignalStrength& strength,
                    const std::vector<int>& sample_depth, int first_year) {
  write_comment_head(out, head);
  out << "year\tdepth\tSSS\n";
  for (std::size_t y = 0; y < strength.sss.size(); ++y) {
    const int depth = y < sample_depth.size() ? sample_depth[y] : 0;
    out << first_year + static_cast<int>(y) << '\t' << depth << '\t'
        << figure_text(strength.sss[y], 4) << '\n';
  }
}

}  // namespace kvr
