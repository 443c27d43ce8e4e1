#include "results/result_files.h"

#include <ostream>

#include "results/knmi_file.h"
#include "results/output_files.h"
#include "results/rcs_files.h"
#include "results/result_table.h"
#include "results/series_report_files.h"
#include "results/signal_files.h"

namespace kvr {
namespace {

std::string input_name(const RunResults& r) { return std::string(r.input_name); }
std::string title(const RunResults& r) { return run_title_text(r.title); }
int first_year(const RunResults& r) { return r.set.earliest_first_year; }
CommentHead comment_head(const RunResults& r) { return {r.input_name, r.source_lines, title(r)}; }

template <const char* kName>
std::string fixed_name(const RunResults&) {
  return kName;
}

constexpr ResultFile kResultFiles[] = {
    {ResultFile::When::kWithChronology,
     [](const RunResults& r) { return result_table_file(input_name(r)); },
     [](std::ostream& out, const RunResults& r) {
       write_result_table(out, r.set, r.by_year, r.chronology, r.title.age_aligned, title(r));
       return FileAdjustments{};
     }},
    {ResultFile::When::kWithResults, fixed_name<kModeledRawFile>,
     [](std::ostream& out, const RunResults& r) {
       return FileAdjustments{{},
                              write_modeled_raw(out, input_name(r), title(r), r.set, r.by_year)};
     }},
    {ResultFile::When::kWithResults, fixed_name<kModeledCrnFile>,
     [](std::ostream& out, const RunResults& r) {
       return FileAdjustments{write_modeled_crn(out, input_name(r), title(r), r.title.age_aligned,
                                                r.chronology, first_year(r)),
                              {}};
     }},
    {ResultFile::When::kWithResults, fixed_name<kSignalFile>,
     [](std::ostream& out, const RunResults& r) {
       write_signal_file(out, comment_head(r), r.signal, first_year(r));
       return FileAdjustments{};
     }},
    {ResultFile::When::kWithResults, fixed_name<kSubsampleSignalFile>,
     [](std::ostream& out, const RunResults& r) {
       write_sss_file(out, comment_head(r), r.signal, r.chronology.sample_depth, first_year(r));
       return FileAdjustments{};
     }},
    {ResultFile::When::kWithResults, fixed_name<kSeriesReportFile>,
     [](std::ostream& out, const RunResults& r) {
       write_series_file(out, comment_head(r), r.report);
       return FileAdjustments{};
     }},
    {ResultFile::When::kWithResults, fixed_name<kSegmentsFile>,
     [](std::ostream& out, const RunResults& r) {
       write_segments_file(out, comment_head(r), r.report);
       return FileAdjustments{};
     }},
    {ResultFile::When::kWithResults, fixed_name<kCurveFile>,
     [](std::ostream& out, const RunResults& r) {
       write_curve_file(out, comment_head(r), r.comparison.curve);
       return FileAdjustments{};
     }},
    {ResultFile::When::kWithResults, fixed_name<kRcsFile>,
     [](std::ostream& out, const RunResults& r) {
       write_rcs_file(out, comment_head(r), r.comparison);
       return FileAdjustments{};
     }},
    {ResultFile::When::kOnRequest, fixed_name<kKnmiFile>,
     [](std::ostream& out, const RunResults& r) {
       write_knmi(out, input_name(r), title(r), r.title.age_aligned, r.chronology, first_year(r));
       return FileAdjustments{};
     }},
    {ResultFile::When::kLast, fixed_name<kAnswersFile>,
     [](std::ostream& out, const RunResults& r) {
       out << r.lines_read;
       return FileAdjustments{};
     }},
};

}  // namespace

std::span<const ResultFile> result_files() { return kResultFiles; }

}  // namespace kvr
