// In-process runs of the whole dialogue: the console on strings, the files in memory, the
// plots recorded.

#include "driver/run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "io/console.h"
#include "memory_file_system.h"
#include "recording_plotter.h"

namespace kvr {
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

struct InProcessRun {
  int status = -1;
  std::string screen;
  MemoryFileSystem files;
  RecordingPlotter plotter{false};
};

void run(const std::string& answers, InProcessRun* result,
         const std::string& font_folder = "<PLPLOT_LIB>") {
  std::istringstream in(answers);
  std::ostringstream out;
  Console console(in, out);
  result->status = run_analysis(console, result->plotter, result->files, font_folder);
  result->screen = out.str();
}

std::string answers_for(const std::string& name, int alignment) {
  return "\n" + name + "\nn\nn\n" + std::to_string(alignment) + "\n1\n5\n1\nc\nn\n\n";
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
    InProcessRun r;
    r.files.files[c.opened] = kSmallFile;
    run(answers_for(c.typed, 2), &r);
    EXPECT_EQ(r.status, kExitNormal) << c.typed << "\n" << r.screen;
    EXPECT_EQ(r.files.files.count(c.result), 1u) << c.typed;
    EXPECT_EQ(r.files.files[c.opened], kSmallFile) << "the input is never changed";
  }
}

TEST(RunTest, ANameThatWouldBeItsOwnResultFileIsRefused) {
  const std::string name(60, 'b');  // the result name, cut to 60, is the input name
  InProcessRun r;
  r.files.files[name] = kSmallFile;
  run(answers_for(name, 1), &r);
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_EQ(r.files.files[name], kSmallFile);
  EXPECT_EQ(r.files.files.size(), 2u) << "no result file is opened for writing";
  EXPECT_EQ(r.files.files["KVRanswers.txt"], "\n" + name + "\n") << "the answers read are kept";
  EXPECT_NE(r.screen.find("would be the input file name"), std::string::npos) << r.screen;
}

TEST(RunTest, AlignmentAnswerOtherThanOneIsCalendar) {
  for (const int alignment : {0, 2, 3, -1}) {
    InProcessRun r;
    r.files.files["small.rwl"] = kSmallFile;
    run(answers_for("small.rwl", alignment), &r);
    ASSERT_EQ(r.status, kExitNormal) << r.screen;
    EXPECT_EQ(r.files.files["small.rwl_KVR.txt"].rfind("#Calendar aligned", 0), 0u);
    EXPECT_NE(r.screen.find(" Maximum chronology length is   15"), std::string::npos);
  }
  InProcessRun r;
  r.files.files["small.rwl"] = kSmallFile;
  run(answers_for("small.rwl", 1), &r);
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  EXPECT_EQ(r.files.files["small.rwl_KVR.txt"].rfind("#Age aligned", 0), 0u);
  EXPECT_NE(r.screen.find(" Maximum series age is   12"), std::string::npos);
}

TEST(RunTest, AZeroMeasurementIsStoredAsOneThousandth) {
  // With the RAC holding every ring (one class), each value is replaced by itself, so the
  // standardized series is the series as stored.
  InProcessRun r;
  r.files.files["small.rwl"] = kSmallFile;
  run("\nsmall.rwl\nn\nn\n1\n1\n20\n1\nc\nn\n\n", &r);
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  const std::string& raw = r.files.files["KVRmodeled.raw"];
  EXPECT_NE(raw.find("SER1    1901  1200  1300     1  1100"), std::string::npos) << raw;
}

TEST(RunTest, SampleDepthAbove999IsWrittenAs999WithOneWarning) {
  // 1000 series of 1900-1902 (values 1.00, 1.10, 1.20 mm).
  std::string file;
  for (int k = 1; k <= 1000; ++k) {
    file += "S" + std::to_string(10000 + k).substr(1) + "   1900   100   110   120   999\n";
  }
  InProcessRun r;
  r.files.files["deep.rwl"] = file;
  run("\ndeep.rwl\nn\nn\n2\n1\n3\n1\nc\nn\n\n", &r);  // one class of 3 years
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  EXPECT_NE(r.screen.find("\n Warning: the sample depth of 3 years (from 1900 to 1902) is "
                          "above 999, which the index records of KVRmodeled.crn cannot hold; it "
                          "is written there as 999.\n"),
            std::string::npos)
      << r.screen;
  EXPECT_NE(r.files.files["KVRmodeled.crn"].find("\nKVRcrn19001000999110099912009999990  0"),
            std::string::npos)
      << r.files.files["KVRmodeled.crn"];
}

TEST(RunTest, NonNumericAnswerEndsTheRunWithAnInputError) {
  InProcessRun r;
  r.files.files["small.rwl"] = kSmallFile;
  run("\nsmall.rwl\nn\nn\n1.5\n", &r);
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_NE(r.screen.find(" Input error: a whole number was expected."), std::string::npos);
  EXPECT_EQ(r.screen.find("Normal Termination"), std::string::npos);
}

TEST(RunTest, PowerTransformationQuestionsAndTheMeanPowerLine) {
  InProcessRun r;
  r.files.files["small.rwl"] = kSmallFile;
  run("\nsmall.rwl\nn\ny\nn\n1\n1\n5\n1\nc\nn\n\n", &r);
  ASSERT_EQ(r.status, kExitNormal) << r.screen;
  EXPECT_NE(r.screen.find(":>   (The mean adaptive power transform power applied is: "),
            std::string::npos);
  EXPECT_NE(r.screen.find(")\n\n Plot Transformed data? [Y]es or [N]o? :> "), std::string::npos);
}

TEST(RunTest, BannerNamesTheFontFolderInForce) {
  InProcessRun r;
  r.files.files["small.rwl"] = kSmallFile;
  run(answers_for("small.rwl", 1), &r, "/opt/fonts");
  EXPECT_NE(r.screen.find("\n [3] PLplot font files in the folder named by PLPLOT_LIB, e.g. "
                          "/opt/fonts\n"),
            std::string::npos)
      << r.screen;
}

}  // namespace
}  // namespace kvr
