#pragma once

#include <iosfwd>
#include <string>

#include "results/comment_head.h"
#include "results/output_files.h"
#include "statistics/rcs_comparison.h"
#include "statistics/regional_curve.h"

namespace kvr {

/// Why there is no regional curve, as the files and the screen say it; empty when there is one.
[[nodiscard]] std::string no_rcs_reason(const RegionalCurve& curve);

/// "KVRcurve.txt", tab separated, %.6g, NA where a figure does not exist:
///   # input file: <input name>, the source lines, the run title     (CommentHead)
///   # spline: Cook-Peters, stiffness 31 years, f = 0.5       (or "# no regional curve: ...")
///   [# regional curve at or below 0 at 3 ages: their values have no index]
///   age n mean_by_age curve                                  (one row per age; none without
///                                                             a curve)
void write_curve_file(std::ostream& out, const CommentHead& head, const RegionalCurve& curve);

/// "KVRrcs.txt":
///   # input file: <input name>, the source lines, the run title     (CommentHead)
///   # rank vs RCS: r=0.8123 years=291
///   # residual rank vs residual RCS: r=0.7012 years=280
///   year rank rank_res rcs rcs_res depth                    (one row per year of the rank
///                                                             chronology)
/// depth is the number of RCS indices that year; without RCS the RCS columns are NA.
void write_rcs_file(std::ostream& out, const CommentHead& head, const RcsComparison& comparison);

}  // namespace kvr
