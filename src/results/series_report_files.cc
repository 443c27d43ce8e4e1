#include "results/series_report_files.h"

#include <algorithm>
#include <ostream>
#include <vector>

#include "results/pieces_in_turn.h"
#include "results/table_text.h"

namespace kvr {
namespace {

// A year, or NA for a series without values.
std::string year_or_na(const SeriesFigures& s, int year) {
  return s.values > 0 ? std::to_string(year) : "NA";
}

// Segments of KVRsegments.txt formatted as one piece.
constexpr int kSegmentsPerPiece = 16384;

}  // namespace

void write_series_file(std::ostream& out, const CommentHead& head, const SeriesReport& report) {
  const SetFigures& set = report.set;
  write_comment_head(out, head);
  out << "# series=" << set.series << " mean_intercor=" << table_number(set.mean_intercor)
      << " mean_sens1=" << table_number(set.mean_sens1)
      << " mean_ar1=" << table_number(set.mean_ar1) << " segments=" << set.segments
      << " flagged=" << set.flagged << '\n';
  out << "series\tfirst\tlast\tyear\tmean\tmedian\tstdev\tskew\tkurtosis\tgini\tar1\tsens1\t"
         "ar_order\tintercor\tintercor_p\n";
  for (const SeriesFigures& s : report.series) {
    out << table_field(s.id) << '\t' << year_or_na(s, s.first) << '\t' << year_or_na(s, s.last)
        << '\t' << year_or_na(s, s.years);
    for (double v : {s.mean, s.median, s.stdev, s.skew, s.kurtosis, s.gini, s.ar1, s.sens1}) {
      out << '\t' << table_number(v);
    }
    out << '\t' << (s.ar_order ? std::to_string(*s.ar_order) : "NA") << '\t'
        << table_number(s.intercor) << '\t' << table_number(s.intercor_p) << '\n';
  }
}

void write_segments_file(std::ostream& out, const CommentHead& head, const SeriesReport& report) {
  write_comment_head(out, head);
  out << "# method: Pearson correlation of each prewhitened series with the biweight mean of "
         "the other series, over segments of "
      << kSegmentLength << " years lagged " << kSegmentLag << "; p >= " << kSegmentFlagP
      << " flagged\n";
  out << "series\tseg_start\tseg_end\tr\tp\tflagged\n";
  // Each series' cell text once, not once per segment.
  std::vector<std::string> ids;
  ids.reserve(report.series.size());
  for (const SeriesFigures& s : report.series) ids.push_back(table_field(s.id));
  const auto count = static_cast<int>(report.segments.size());
  write_pieces_in_turn(out, (count + kSegmentsPerPiece - 1) / kSegmentsPerPiece,
                       [&](int piece, std::string* text) {
                         const int first = piece * kSegmentsPerPiece;
                         for (int k = first; k < std::min(count, first + kSegmentsPerPiece); ++k) {
                           const SegmentFigures& s = report.segments[static_cast<std::size_t>(k)];
                           *text += ids[static_cast<std::size_t>(s.series)];
                           *text += '\t';
                           append_integer(text, s.start);
                           *text += '\t';
                           append_integer(text, s.end());
                           *text += '\t';
                           append_table_number(text, s.r);
                           *text += '\t';
                           append_table_number(text, s.p);
                           *text += s.flagged() ? "\t1\n" : "\t0\n";
                         }
                       });
}

}  // namespace kvr
