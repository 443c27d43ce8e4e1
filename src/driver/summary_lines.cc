#include "driver/summary_lines.h"

#include "common/fixed_format.h"

namespace kvr {
namespace {

std::string frame_line() { return "  " + std::string(42, '*'); }

std::string fixed_7_2(float v) { return format_fixed(static_cast<double>(v), 7, 2); }

}  // namespace

std::vector<std::string> summary_lines(const DataSummary& summary) {
  switch (summary.kind) {
    case DataSummary::Kind::kTooManySeries:
      return {" >> file contains more than program limit of" + format_int(kSummaryMaxSeries, 6) +
                  " series",
              " too many series for subroutine Commint"};
    case DataSummary::Kind::kNoSeries:
      return {"", frame_line(), "  **  Number of series in chronology: " + format_int(0, 6),
              frame_line()};
    case DataSummary::Kind::kUnreadableYears:
      return {" " + sqc_record(summary.unreadable, summary.series), " error reading sqc)"};
    case DataSummary::Kind::kBlock:
      break;
  }
  const CommonInterval& interval = summary.interval;
  std::vector<std::string> lines = {
      "",
      frame_line(),
      "  **  Time span of chronology: " + format_int(summary.earliest_year, 5) + " to" +
          format_int(summary.latest_year, 5),
      "  **  Number of series in chronology: " + format_int(summary.series, 6),
      "  **  Average series length:          " + fixed_7_2(summary.average_length),
      "  **  Median series length:           " + fixed_7_2(summary.median_length),
      "  **  Minimum series length:          " + fixed_7_2(summary.minimum_length),
      "  **  Maximum series length:          " + fixed_7_2(summary.maximum_length),
  };
  if (summary.missing_values > 0) {
    lines.push_back("  **  Missing values within series:  " +
                    format_int(summary.missing_values, 7));
  }
  lines.push_back("  **  Optimum common interval: " + format_int(interval.start, 5) + " to" +
                  format_int(interval.end, 5));
  lines.push_back("  **  Number of years included: " + format_int(interval.years, 12));
  lines.push_back("  **  Number of Series included:     " + format_int(interval.series, 7));
  lines.push_back("  **  Number of rings:               " + format_int(interval.rings, 7));
  lines.push_back(frame_line());
  return lines;
}

}  // namespace kvr
