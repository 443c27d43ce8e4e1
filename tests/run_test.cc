// In-process runs of the whole dialogue: the console on strings, the files in memory, the
// plots recorded.

#include "driver/run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "answers.h"
#include "in_process_run.h"
#include "results/output_files.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

// Three series of 0.01 mm: 1901-1912 (with a 0 in 1903), 1905-1914, 1900-1911.
const char* const kSmallFile =
    "SMALL  1 Three short series\n"
    "SER1    1901   120   130     0   110   150   160   170   180   190\n"
    "SER1    1910   200   210   220   999\n"
    "SER2    1905   100   110   120   130   140\n"
    "SER2    1910   150   160   170   180   190   999\n"
    "SER3    1900   300   310   320   330   340   350   360   370   380   390\n"
    "SER3    1910   400   410   999\n";

// Classes of 5 with the first as the RAC, no KNMI file.
std::string answers_for(const std::string& name, int alignment) {
  return plain_answers(name, alignment, 5, 1, /*knmi=*/false).text();
}

InProcessRun run_small(const std::string& answers, const RunOptions& options = {}) {
  return run_in_process(answers, "small.rwl", kSmallFile, options);
}

TEST(RunTest, ResultFileNameFollowsTheInputName) {
  struct Case {
    std::string typed;   // as typed at the prompt
    std::string opened;  // the input file opened
    std::string result;  // the result file written
  };
  const std::string long_name(55, 'a');
  const std::vector<Case> cases = {
      {"oak.rwl", "oak.rwl", "oak.rwl_KVR.txt"},
      {"'my oak.rwl'", "my oak.rwl", "my_KVR.txt"},  // a quoted blank: opened whole
      {long_name, long_name, long_name + "_KVR."},   // cut to 60 characters
  };
  for (const Case& c : cases) {
    const InProcessRun r = run_in_process(answers_for(c.typed, 2), c.opened, kSmallFile);
    EXPECT_EQ(r.status, kExitNormal) << c.typed << "\n" << r.screen;
    EXPECT_TRUE(r.has_file(c.result)) << c.typed;
    EXPECT_EQ(r.file(c.opened), kSmallFile) << "the input is never changed";
  }
}

// Sets that the series report and the RCS comparison cannot use give figures or NA, and the
// run goes on: one series of 3 values (no master, no AR model, no curve), and two series over
// 8 years, one constant and one with a missing ring (too few ages for a curve).
TEST(RunTest, TheReportAndTheComparisonOfSetsTheyCannotUse) {
  struct Case {
    const char* input;
    std::vector<std::string> lines;  // on the screen
    std::string series_row;          // of KVRseries.txt
    std::string reason;              // why there is no regional curve
    int years;
  };
  const Case cases[] = {
      {"ONE001 1 One short series\n"
       "ONE1    1901   120   130   110   999\n",
       {"  mean interseries correlation NA over 0 of 1 series; mean sensitivity 0.1233, mean AR1 "
        "-0.5000",
        "  segments of 50 years lagged 25: 0, flagged (p >= 0.05): 0"},
       "ONE1\t1901\t1903\t3\t1.2\t1.2\t0.1\t",
       "fewer than 2 series have a value",
       3},
      {"TWO001 1 Two short series\n"
       "TWOA    1901   120   120   120   120   120   120   120   120   999\n"
       "TWOB    1903   100  -999    90    85    80   999\n",
       {"  mean interseries correlation NA over 0 of 2 series; mean sensitivity 0.0372, mean AR1 "
        "0.1929"},
       "TWOA\t1901\t1908\t8\t1.2\t1.2\t0\tNA\tNA\t0\tNA\t0\tNA\tNA\tNA\n",
       "fewer than 10 ages have a value",
       8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const InProcessRun r = run_in_process(answers_for("few.rwl", 1), "few.rwl", c.input);
    ASSERT_EQ(r.status, kExitNormal) << r.screen;
    for (const std::string& line : c.lines) EXPECT_TRUE(contains_line(r.screen, line)) << r.screen;
    EXPECT_TRUE(contains_line(r.screen, " RCS comparison: no regional curve, " + c.reason))
        << r.screen;
    EXPECT_TRUE(contains(r.file(kSeriesReportFile), c.series_row)) << r.file(kSeriesReportFile);
    // The head's lines, the reason, and the column names alone.
    EXPECT_TRUE(ends_with(r.file(kCurveFile),
                          "\n# no regional curve: " + c.reason + "\nage\tn\tmean_by_age\tcurve\n"))
        << r.file(kCurveFile);
    // Every year of the rank chronology, after four comment lines and the header, without
    // RCS figures.
    std::istringstream rcs(r.file(kRcsFile));
    std::vector<std::string> rows;
    for (std::string row; std::getline(rcs, row);) rows.push_back(row);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(5 + c.years));
    for (std::size_t k = 5; k < rows.size(); ++k) {
      EXPECT_TRUE(ends_with(rows[k], "\tNA\tNA\tNA")) << rows[k];
    }
  }
}

TEST(RunTest, ANameThatWouldBeItsOwnResultFileIsRefused) {
  const std::string name(60, 'b');  // the result name, cut to 60, is the input name
  const InProcessRun r = run_in_process(answers_for(name, 1), name, kSmallFile);
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_EQ(r.file(name), kSmallFile);
  EXPECT_EQ(r.files.size(), 2u) << "no result file is opened for writing";
  EXPECT_EQ(r.file(kAnswersFile), "\n" + name + "\n") << "the answers read are kept";
  EXPECT_TRUE(contains(r.screen, "would be the input file name")) << r.screen;
}

TEST(RunTest, AlignmentAnswerOtherThanOneIsCalendar) {
  for (const int alignment : {0, 2, 3, -1}) {
    const InProcessRun r = run_small(answers_for("small.rwl", alignment));
    ASSERT_EQ(r.status, kExitNormal) << r.screen;
    EXPECT_EQ(r.file("small.rwl_KVR.txt").rfind("#Calendar aligned", 0), 0u);
    EXPECT_TRUE(contains(r.screen, " Maximum chronology length is   15"));
  }
  const InProcessRun r = run_small(answers_for("small.rwl", 1));
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  EXPECT_EQ(r.file("small.rwl_KVR.txt").rfind("#Age aligned", 0), 0u);
  EXPECT_TRUE(contains(r.screen, " Maximum series age is   12"));
}

TEST(RunTest, AZeroMeasurementIsStoredAsOneThousandth) {
  // With the RAC holding every ring (one class), each value is replaced by itself, so the
  // standardized series is the series as stored.
  const InProcessRun r = run_small(plain_answers("small.rwl", 1, 20, 1, false).text());
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  const std::string raw = r.file(kModeledRawFile);
  EXPECT_TRUE(contains(raw, "SER1    1901  1200  1300     1  1100")) << raw;
}

// Calendar aligned, the years between two series leave two classes of 10 without a
// measurement: the ranking says so once for each, after the two lines of a blank that open
// it (the first ends the RAC prompt's line).
TEST(RunTest, ClassesWithoutMeasurementsAreNamedWhenRanked) {
  const std::string file =
      "GAP1    1900   100   110   120   130   140   150   160   170   180   190\n"
      "GAP1    1910   999\n"
      "GAP2    1930   200   210   220   230   240   250   260   270   280   290\n"
      "GAP2    1940   999\n";
  const InProcessRun r =
      run_in_process(plain_answers("gap.rwl", 2, 10, 1, false).text(), "gap.rwl", file);
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  const std::string empty = " the number of values to be sorted is not positive.\n";
  EXPECT_TRUE(contains(r.screen, ":>  \n \n" + empty + empty)) << r.screen;
  EXPECT_EQ(count_of(r.screen, empty), 2) << r.screen;
}

TEST(RunTest, SampleDepthAbove999IsWrittenAs999WithOneWarning) {
  // 1000 series of 1900-1902 (values 1.00, 1.10, 1.20 mm).
  std::string file;
  for (int k = 1; k <= 1000; ++k) {
    file += "S" + std::to_string(10000 + k).substr(1) + "   1900   100   110   120   999\n";
  }
  // One class of 3 years.
  const InProcessRun r =
      run_in_process(plain_answers("deep.rwl", 2, 3, 1, false).text(), "deep.rwl", file);
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  EXPECT_TRUE(contains(r.screen,
                       "\n Warning: the sample depth of 3 years (from 1900 to 1902) is above "
                       "999, which the index records of KVRmodeled.crn cannot hold; it is "
                       "written there as 999.\n"))
      << r.screen;
  EXPECT_TRUE(contains(r.file(kModeledCrnFile), "\nKVRcrn19001000999110099912009999990  0"))
      << r.file(kModeledCrnFile);
}

TEST(RunTest, NonNumericAnswerEndsTheRunWithAnInputError) {
  const InProcessRun r = run_small(Answers().start("small.rwl").no().no().line("1.5").text());
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_TRUE(contains(r.screen, " Input error: a whole number was expected."));
  EXPECT_FALSE(contains(r.screen, "Normal Termination"));
}

TEST(RunTest, PowerTransformationQuestionsAndTheMeanPowerLine) {
  const Answers answers = Answers()
                              .start("small.rwl")
                              .no()
                              .yes()
                              .no()
                              .number(1)
                              .fixed_classes(5, 1)
                              .line("c")
                              .no()
                              .end();
  const InProcessRun r = run_small(answers.text());
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  EXPECT_TRUE(contains(r.screen, ":>   (The mean adaptive power transform power applied is: "));
  EXPECT_TRUE(contains(r.screen, ")\n\n Plot Transformed data? [Y]es or [N]o? :> "));
}

TEST(RunTest, BannerNamesTheFontFolderInForce) {
  RunOptions options;
  options.font_folder = "/opt/fonts";
  const InProcessRun r = run_small(answers_for("small.rwl", 1), options);
  EXPECT_TRUE(contains(r.screen,
                       "\n [3] PLplot font files in the folder named by PLPLOT_LIB, e.g. "
                       "/opt/fonts\n"))
      << r.screen;
}

}  // namespace
}  // namespace kvr::test
