// The data summary of whole files, read as the program reads them, against values worked out
// separately from the files (series spans parsed from the decade records; lengths summed and
// sorted; the optimum common interval found by the plain candidate scan over the distinct
// last years and the sorted records).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/reading_text.h"
#include "driver/summary_lines.h"
#include "measurements/measurement_file.h"
#include "measurements/summary.h"
#include "series_spans.h"
#include "test_support.h"

namespace kvr::test {
namespace {

struct SummaryCase {
  const char* what;
  std::string path;
  std::vector<std::string> block;
};

std::vector<std::string> summary_lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const MeasurementReading reading = read_measurement_file(in);
  if (!reading.usable) {
    ADD_FAILURE() << "cannot read " << path << ": " << refusal_line(reading.refusal);
    return {};
  }
  const DataSummary summary = summarize(reading.set);
  EXPECT_EQ(summary.kind, DataSummary::Kind::kBlock);
  return summary_lines(summary);
}

const std::string kFrame = "  ******************************************";

TEST(ExampleSummaryTest, BlocksMatchValuesWorkedOutFromTheFiles) {
  const std::vector<SummaryCase> cases = {
      // 30 series, lengths summing to 5482 (average 182.733); the middle lengths are 193 and
      // 193; 14 series cover 1764-1940 (177 x 14 = 2478 rings).
      {"the shipped example",
       project_file("examples/example_spruce.rwl").string(),
       {"", kFrame, "  **  Time span of chronology:  1701 to 2000",
        "  **  Number of series in chronology:     30",
        "  **  Average series length:           182.73",
        "  **  Median series length:            193.00",
        "  **  Minimum series length:            63.00",
        "  **  Maximum series length:           300.00",
        "  **  Optimum common interval:  1764 to 1940",
        "  **  Number of years included:          177",
        "  **  Number of Series included:          14",
        "  **  Number of rings:                  2478", kFrame}},
      // Three header lines, 0.001 mm: 95 series, lengths summing to 25371; 53 series cover
      // 1706-1944 (239 x 53 = 12667).
      {"tx042",
       archive_file("itrdb_tx042.rwl").string(),
       {"", kFrame, "  **  Time span of chronology:  1473 to 1992",
        "  **  Number of series in chronology:     95",
        "  **  Average series length:           267.06",
        "  **  Median series length:            286.00",
        "  **  Minimum series length:            64.00",
        "  **  Maximum series length:           487.00",
        "  **  Optimum common interval:  1706 to 1944",
        "  **  Number of years included:          239",
        "  **  Number of Series included:          53",
        "  **  Number of rings:                 12667", kFrame}},
      // Years before the common era in 5-wide fields; 7 series, lengths summing to 608; six of
      // them cover -2182 to -2122 (61 x 6 = 366).
      {"egy002",
       archive_file("itrdb_egy002.rwl").string(),
       {"", kFrame, "  **  Time span of chronology: -2220 to-2070",
        "  **  Number of series in chronology:      7",
        "  **  Average series length:            86.86",
        "  **  Median series length:             78.00",
        "  **  Minimum series length:            65.00",
        "  **  Maximum series length:           123.00",
        "  **  Optimum common interval: -2182 to-2122",
        "  **  Number of years included:           61",
        "  **  Number of Series included:           6",
        "  **  Number of rings:                   366", kFrame}},
      // Lines end in a bare CR; 46 series, lengths summing to 3699, the middle ones 79 and 80;
      // 11 series cover -2047 to -1983 (65 x 11 = 715).
      {"turk045",
       archive_file("itrdb_turk045.rwl").string(),
       {"", kFrame, "  **  Time span of chronology: -2084 to-1821",
        "  **  Number of series in chronology:     46",
        "  **  Average series length:            80.41",
        "  **  Median series length:             79.50",
        "  **  Minimum series length:            24.00",
        "  **  Maximum series length:           140.00",
        "  **  Optimum common interval: -2047 to-1983",
        "  **  Number of years included:           65",
        "  **  Number of Series included:          11",
        "  **  Number of rings:                   715", kFrame}},
  };
  std::string missing;
  for (const SummaryCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (!std::filesystem::exists(c.path)) {
      missing += " " + c.path;
      continue;
    }
    const std::vector<std::string> lines = summary_lines(c.path);
    ASSERT_EQ(lines.size(), c.block.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
      EXPECT_EQ(lines[k], c.block[k]) << "line " << k + 1;
    }
  }
  if (!missing.empty()) GTEST_SKIP() << "the other files were checked; absent:" << missing;
}

// The summary of a set built from the series spans found apart from the program's reader.
TEST(ExampleSummaryTest, BlockOfRealFileFromItsSpans) {
  KVR_SKIP_WITHOUT_ARCHIVE_FILE("itrdb_ca708.rwl");
  std::vector<std::string> ids;
  std::vector<Span> spans = read_spans(archive_file("itrdb_ca708.rwl").string(), &ids);
  ASSERT_EQ(spans.size(), 69u);
  for (std::size_t k = 0; k < spans.size(); ++k) spans[k].id = ids[k].c_str();
  // Worked out separately from the file: 69 series, lengths summing to 69090, median of the
  // middle length 879, shortest 51, longest 3205; the best interval 461-1560 is covered
  // by 21 series.
  const std::vector<std::string> expected = {
      "",
      kFrame,
      "  **  Time span of chronology: -1372 to 1895",
      "  **  Number of series in chronology:     69",
      "  **  Average series length:          1001.30",
      "  **  Median series length:            879.00",
      "  **  Minimum series length:            51.00",
      "  **  Maximum series length:          3205.00",
      "  **  Optimum common interval:   461 to 1560",
      "  **  Number of years included:         1100",
      "  **  Number of Series included:          21",
      "  **  Number of rings:                 23100",
      kFrame,
  };
  EXPECT_EQ(summary_lines(summarize(set_of_spans(spans))), expected);
}

}  // namespace
}  // namespace kvr::test
