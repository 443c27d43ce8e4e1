#pragma once

#include <iosfwd>
#include <string>

#include "results/comment_head.h"
#include "results/output_files.h"
#include "statistics/series_report.h"

namespace kvr {

/// "KVRseries.txt", tab separated, %.6g, NA where a figure does not exist:
///   # input file: <input name>, the source lines, the run title     (CommentHead)
///   # series=95 mean_intercor=0.612348 mean_sens1=0.318 mean_ar1=0.512 segments=801 flagged=12
///   series first last year mean median stdev skew kurtosis gini ar1 sens1 ar_order intercor
///   intercor_p                                               (one row per series, set order)
void write_series_file(std::ostream& out, const CommentHead& head, const SeriesReport& report);

/// "KVRsegments.txt": the head (CommentHead) and the method as comments, then
///   series seg_start seg_end r p flagged                      (flagged 1 or 0)
/// one row per computed segment, series in set order, segments by start.
void write_segments_file(std::ostream& out, const CommentHead& head, const SeriesReport& report);

}  // namespace kvr
