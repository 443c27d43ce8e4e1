#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "common/grid.h"
#include "measurements/measurement_set.h"
#include "standardize/chronology.h"

namespace kvr {

/// "KVRmodeled.raw": input name and run title (60 characters each), the fixed third line,
/// then every series' standardized values (rows of `by_year`, calendar positions of the
/// series' span) in mode "mw", record tag three blanks. Each series is written from its first
/// value to its last, every value at its year: a missing value in between is written as the
/// missing code -999, missing values before the first and after the last are not written. A
/// series without any value is not written. An id longer than the records hold
/// (record_id_width: 8 characters, fewer before the year -999) is cut. Returns the ids that
/// differ whole and became one id so, each such id once.
struct SameCutId {
  std::string written;           // the id as the records hold it, without trailing blanks
  int width = 0;                 // the characters the records hold of an id
  std::vector<std::string> ids;  // the series' ids written so, whole, in the order of the set
};
std::vector<SameCutId> write_modeled_raw(std::ostream& out, const std::string& input_name,
                                         const std::string& run_title, const MeasurementSet& set,
                                         const Grid<float>& by_year);

/// "KVRmodeled.crn": input name, run title, the alignment line, then the chronology (its
/// robust mean and sample depth, one per year from `first_year`) in mode "iw" under the
/// id "KVRcrn", record tag three blanks. Years without a chronology value (kMissing) are
/// written as the filler 9990, depth 0.
///
/// The four-column index field holds the value x 1000 from -999 to 9989 (a reader takes 9990
/// and above as fillers). A chronology value outside that range (below -0.9995 or from 9.9895
/// up, say a ring width of 10 mm in a year of one series) would be written as asterisks, which
/// no reader takes; such a year is written as the filler too. A sample depth above 999, which
/// the three-column depth field cannot hold, is written as 999. Returns the years written so.
struct CrnAdjustments {
  std::vector<int> unwritable_years;    // written as the filler
  std::vector<int> capped_depth_years;  // depth written as 999
};
CrnAdjustments write_modeled_crn(std::ostream& out, const std::string& input_name,
                                 const std::string& run_title, bool age_aligned,
                                 const Chronology& chronology, int first_year);

}  // namespace kvr
