#include "results/output_files.h"

namespace kvr {

std::string result_table_file(const std::string& input_name) {
  const std::string stem = input_name.substr(0, input_name.find(' '));
  return (stem + "_KVR.txt").substr(0, kFileNameLength);
}

std::vector<std::string> figure_files(const std::string& postscript_name) {
  std::string stem = postscript_name;
  if (stem.size() > 3 && stem.compare(stem.size() - 3, 3, ".ps") == 0) stem.resize(stem.size() - 3);
  return {postscript_name, stem + ".pdf", stem + ".png"};
}

std::vector<std::string> output_files(const std::string& input_name) {
  std::vector<std::string> outputs = {result_table_file(input_name),
                                      kModeledRawFile,
                                      kModeledCrnFile,
                                      kKnmiFile,
                                      kAnswersFile,
                                      kSignalFile,
                                      kSubsampleSignalFile,
                                      kSeriesReportFile,
                                      kSegmentsFile,
                                      kCurveFile,
                                      kRcsFile};
  for (const char* figure :
       {kRawMeasurementsFile, kTransformedMeasurementsFile, kChronologyFile, kComparisonFile}) {
    const std::vector<std::string> figures = figure_files(figure);
    outputs.insert(outputs.end(), figures.begin(), figures.end());
  }
  return outputs;
}

}  // namespace kvr
