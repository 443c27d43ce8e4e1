// Whole analyses run in process: answers from a string, files in memory, plots recorded.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "answers.h"
#include "common/dimensions.h"
#include "driver/run.h"
#include "in_process_run.h"
#include "index_reading.h"
#include "results/output_files.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

// A whole run whose transcript is kept under testdata/golden: the answers in <name>.in, the
// screen in <name>.screen, the plot calls in <name>.plot, the names of the files the run
// wrote in <name>.files and each of them (but the figure files, which PLplot writes and
// which a recording plotter leaves empty, and KVRanswers.txt, which holds <name>.in) in
// <name>.<file name>.
struct GoldenCase {
  const char* name;
  const char* input;  // a file under testdata/golden
  bool window_available;
};

constexpr GoldenCase kGoldenCases[] = {
    // Age aligned, option 1 with an overrunning last class, the KNMI file.
    {"age_option1", "small.rwl", true},
    // The raw-data plot shown; calendar aligned, option 2; the chronology plot replotted; no
    // KNMI file.
    {"calendar_option2", "small.rwl", true},
    // Both measurement plots, the power transformation, a saved figure after a background
    // change; calendar aligned, option 1; the chronology plot saved.
    {"power_plots", "small.rwl", true},
    // Every rejection of the Age-Class dialogue and a RAC index asked again, on a file whose
    // longest series has 300 rings; no plot window.
    {"rejections", "long.rwl", false},
};

bool is_figure(const std::string& name) {
  const std::string extension = std::filesystem::path(name).extension().string();
  return extension == ".ps" || extension == ".pdf" || extension == ".png";
}

TEST(AnalysisGoldenTest, WholeRunsMatchTheirTranscripts) {
  for (const GoldenCase& c : kGoldenCases) {
    SCOPED_TRACE(c.name);
    const std::string base = std::string("golden/") + c.name;
    const std::string answers = read_file(project_file("testdata/" + base + ".in"));
    const std::string input = read_file(project_file(std::string("testdata/golden/") + c.input));
    ASSERT_FALSE(answers.empty());
    ASSERT_FALSE(input.empty());
    const InProcessRun run = run_in_process(answers, c.input, input, {c.window_available});
    EXPECT_EQ(run.status, kExitNormal);
    expect_matches_golden(base + ".screen", run.screen);
    expect_matches_golden(base + ".plot", joined_lines(run.plot_calls));
    std::vector<std::string> written;
    for (const auto& [name, bytes] : run.files) {
      if (name == c.input) {
        EXPECT_EQ(bytes, input) << "the input file changed";
        continue;
      }
      written.push_back(name);
      if (name == "KVRanswers.txt") {
        EXPECT_EQ(bytes, answers) << "the answers read, each line once";
      } else if (!is_figure(name)) {
        expect_matches_golden(base + "." + name, bytes);
      }
    }
    expect_matches_golden(base + ".files", joined_lines(written));
  }
}

// Hand-computed runs. Seven series over 1993-2020; KV07 is in units of 0.001 mm (closed by
// -9999), KV06 holds a ring measured as 0 (stored as 0.001), and no series covers 2008:
//
//   KV01 1993-2004 (12 rings)  KV02 1993-2002 (10)  KV03 1995-2006 (12)  KV04 1996-2005 (10)
//   KV05 1997-2006 (10)        KV06 1998-2007 (10)  KV07 2009-2020 (12)
//
// Sample depth by year: 2 2 3 4 5, then 6 in 1998-2002, 5 5 4 3 1, 0 in 2008, 1 from 2009.
// Ties: 120 (KV04 ring 1, KV01 ring 3), 118 (KV04 ring 2, KV01 ring 5) and 80 (KV06 ring 4,
// KV03 ring 5) at different positions, and 120 (KV02 ring 9, KV05 ring 9) at the same age;
// in calendar years 92 (KV03 and KV06 in 1998) at the same position.
//
// The expected files were written from the rules alone (ranks by value, ties by position
// and then series; the mapped-rank formula; robmean with its precisions; the free-form,
// decade and index layouts), by a separate calculation, and checked by hand in places:
//
// Age aligned, option 1, size 5, RAC 2: classes [1,5], [6,10], [11,15] (the last overruns
// the 12 rings and is not offered). Class 1 holds 35 values like the RAC, so its ranks carry
// over: in 1993 KV01 (150, rank 26) and KV02 (210, rank 35) become the RAC's 26th and 35th
// values, 1.18 and 1.50, and RobM = their mean 1.34. Class 3 holds 6 values; ranks 1..6 map
// to 3, 9, 15, 21, 27, 33 (q = 3.42, 9.25, 15.08, 20.92, 26.75, 32.58): KV01's 92 (rank 6)
// in 2003 becomes the RAC's 33rd value 1.40, KV07's 0.884 (rank 5) in 2019 becomes 1.20. In
// 1996 the four values 0.85, 0.96, 1.10, 1.28 give the median 1.03, MAD 0.125 and the
// standard error 1.5 x 0.125 / 2 = 0.09375, so the bands are 1.2175 and 0.8425. Years of six
// values take the biweight. 2008 has no value: -99.99 in the table, the filler 9990 with
// depth 0 in KVRmodeled.crn, -999.9 in the KNMI file, and it does not enter Ave.
//
// Age aligned, option 2, RAC ages 4-6: classes [1,3], [4,6], [7,9], [10,12].
// Calendar aligned, option 1, size 10, RAC 1: classes 1993-2002, 2003-2012 and the
// overrunning 2013-2022. Calendar aligned, option 2, RAC 1998-2004: classes [1,5] (cut at
// position 1), [6,12], [13,19], [20,26], [27,28] (cut at the end); the years 1998-2002, all
// inside the RAC of both calendar runs, keep their own values and so the same RobM.
//
// The input is testdata/hand/handcalc.rwl, the expected files testdata/hand/<case>.<file>.
struct HandCase {
  const char* name;
  std::vector<std::string> layout;  // the alignment and Age-Class answers
};

TEST(HandComputedRunTest, ResultFilesFollowTheRules) {
  const HandCase cases[] = {
      {"age_option1", {"1", "1", "5", "2"}},
      {"age_option2", {"1", "2", "4", "6"}},
      {"calendar_option1", {"2", "1", "10", "1"}},
      {"calendar_option2", {"2", "2", "1998", "2004"}},
  };
  const std::string input = read_file(project_file("testdata/hand/handcalc.rwl"));
  ASSERT_FALSE(input.empty());
  for (const HandCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Answers answers =
        Answers().start("handcalc.rwl").no().no().lines(c.layout).line("c").yes().end();
    const InProcessRun run = run_in_process(answers.text(), "handcalc.rwl", input);
    ASSERT_EQ(run.status, kExitNormal) << run.screen;
    for (const char* name : {"handcalc.rwl_KVR.txt", kModeledRawFile, kModeledCrnFile, kKnmiFile}) {
      expect_matches_file(std::string("hand/") + c.name + "." + name, run.file(name));
    }
  }
}

// A chronology value that the four-column index field cannot hold (12.34 mm gives 12340,
// 11.00 mm gives 11000) is written to KVRmodeled.crn as the filler, with a warning, and the
// file still reads back; the result table keeps the value.
TEST(ModeledChronologyTest, ValuesTheIndexFieldCannotHoldAreWrittenAsMissing) {
  struct Case {
    const char* input;
    int class_size;
    const char* warning;
  };
  const Case cases[] = {
      // Calendar aligned, one class of size 7 holding everything: every value is its own RAC
      // value, so each year's chronology is the one value of that year.
      {"WIDE01  1990   150  1234   180   999\n"
       "WIDE02  1994   120  1100   130   999\n",
       7,
       "2 years of the chronology (from 1991 to 1995) lie outside -0.999 to 9.989, which the "
       "index records of KVRmodeled.crn cannot hold; they are written there as missing (9990)."},
      // One such year is named by itself.
      {"WIDE01  1990   150  1234   180   999\n", 3,
       "the chronology value of 1991 lies outside -0.999 to 9.989, which the index records of "
       "KVRmodeled.crn cannot hold; it is written there as missing (9990)."},
  };
  std::vector<InProcessRun> runs;
  for (const Case& c : cases) {
    runs.push_back(run_in_process(plain_answers("wide.rwl", 2, c.class_size, 1, false).text(),
                                  "wide.rwl", c.input, {true}));
    ASSERT_EQ(runs.back().status, kExitNormal) << runs.back().screen;
    EXPECT_TRUE(contains(runs.back().screen, std::string("\n Warning: ") + c.warning + "\n"))
        << runs.back().screen;
  }

  const InProcessRun& run = runs.front();
  const std::string crn = run.file("KVRmodeled.crn");
  const std::string records = crn.substr(crn.find("KVRcrn"));
  EXPECT_EQ(records,
            "KVRcrn19901500  19990  01800  19990  01200  19990  01300  19990  09990  09990  0"
            "     \n");
  const IndexReading read = read_index(crn);
  ASSERT_FALSE(read.series.empty());
  const TrrwSeries& chronology = read.series.front();
  std::vector<long> thousandths;
  for (const float v : chronology.values) {
    thousandths.push_back(is_missing(v) ? -1 : std::lround(static_cast<double>(v) * 1000.0));
  }
  EXPECT_EQ(thousandths, (std::vector<long>{1500, -1, 1800, -1, 1200, -1, 1300}));

  const std::string table = run.file("wide.rwl_KVR.txt");
  EXPECT_TRUE(contains(table, "\n         1991           1    4.85667    12.3400")) << table;
  EXPECT_TRUE(contains(table, "\n         1995           1    4.85667    11.0000")) << table;
}

}  // namespace
}  // namespace kvr::test
