#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/grid.h"
#include "measurements/measurement_set.h"
#include "results/modeled_files.h"
#include "results/run_title.h"
#include "standardize/chronology.h"
#include "statistics/rcs_comparison.h"
#include "statistics/series_report.h"
#include "statistics/signal_strength.h"

namespace kvr {

/// What the writers of the result files take: the run's results as they stand.
struct RunResults {
  std::string_view input_name;  // as the run takes it, without trailing blanks
  // What the input says of its data (a NOAA template's title of its data), for the files of
  // `#` lines (CommentHead); none for a decade file, whose files stay as they were.
  std::span<const std::string> source_lines;
  RunTitle title;
  const MeasurementSet& set;
  const Grid<float>& by_year;  // the standardized values by calendar position
  const Chronology& chronology;
  const SignalStrength& signal;
  const SeriesReport& report;       // of the measurements as the file gives them
  const RcsComparison& comparison;  // the rank chronology beside the RCS one
  std::string_view lines_read;      // every console line the run read
};

/// What a writer had to change to make its file hold the results, for the run to say after
/// the file; nothing for most files.
struct FileAdjustments {
  CrnAdjustments crn;                   // KVRmodeled.crn: years written as filler or depth 999
  std::vector<SameCutId> same_cut_ids;  // KVRmodeled.raw: ids that became one when cut
};

/// One result file: its name, when the run writes it, and its writer, which returns what it
/// had to change to make the file hold the results.
struct ResultFile {
  enum class When {
    kWithChronology,  // once the chronology is computed, before its figures are shown
    kWithResults,     // after the chronology's plot
    kOnRequest,       // when the user asks for it (the KNMI file)
    kLast,            // after the run's last line is read, however it ended (the answers)
  };
  When when;
  std::string (*name)(const RunResults& results);
  FileAdjustments (*write)(std::ostream& out, const RunResults& results);
};

/// Every result file, in the order the run writes them: the result table, KVRmodeled.raw,
/// KVRmodeled.crn, KVRsignal.txt, KVRsss.txt, KVRseries.txt, KVRsegments.txt, KVRcurve.txt,
/// KVRrcs.txt, KVRchron_KNMI.txt, KVRanswers.txt. A new result file is a writer and one entry
/// here.
std::span<const ResultFile> result_files();

}  // namespace kvr
