#pragma once

#include <string>
#include <vector>

namespace kvr {

/// The names of every file a run writes, in the current folder. The result table is named
/// after the input file; the others have fixed names.

/// Columns of the input file name as the run keeps it (blank padded), and of the result
/// table's name at most.
inline constexpr std::size_t kFileNameLength = 60;

inline constexpr char kModeledRawFile[] = "KVRmodeled.raw";
inline constexpr char kModeledCrnFile[] = "KVRmodeled.crn";
inline constexpr char kSignalFile[] = "KVRsignal.txt";
inline constexpr char kSubsampleSignalFile[] = "KVRsss.txt";
inline constexpr char kKnmiFile[] = "KVRchron_KNMI.txt";
/// The series report: the figures of each series, and its segments of the crossdating check.
inline constexpr char kSeriesReportFile[] = "KVRseries.txt";
inline constexpr char kSegmentsFile[] = "KVRsegments.txt";
/// The RCS comparison: the regional curve, and the rank and RCS chronologies by year.
inline constexpr char kCurveFile[] = "KVRcurve.txt";
inline constexpr char kRcsFile[] = "KVRrcs.txt";
/// The lines the run read, to repeat it.
inline constexpr char kAnswersFile[] = "KVRanswers.txt";

/// The PostScript files of the three plot pages, and of the comparison page saved with the
/// chronology page; a save also writes a PDF and a PNG file of the same name with their own
/// extension (figure_files).
inline constexpr char kRawMeasurementsFile[] = "KVR_fig1.ps";
inline constexpr char kTransformedMeasurementsFile[] = "KVR_fig1b.ps";
inline constexpr char kChronologyFile[] = "KVR_fig2.ps";
inline constexpr char kComparisonFile[] = "KVRcompare.ps";

/// The result table of the input file `input_name`: the name up to its first blank, followed
/// by "_KVR.txt", cut to kFileNameLength characters.
std::string result_table_file(const std::string& input_name);

/// The files a save writes for the PostScript file `postscript_name` (NAME.ps), in the order
/// they are written: NAME.ps, NAME.pdf and NAME.png.
std::vector<std::string> figure_files(const std::string& postscript_name);

/// Every file a run on the input `input_name` may write: the result table, the other result
/// files, the answers file and each figure file.
std::vector<std::string> output_files(const std::string& input_name);

}  // namespace kvr
