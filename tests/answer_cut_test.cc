// The end of the answers at any prompt ends the run with a message and a non-zero status; only
// at the closing pause, when everything is written, does it end the run normally. Answers
// with CR LF or CR line ends work like LF ones. Every run that got as far as the file name
// keeps the lines it read in KVRanswers.txt, with LF line ends.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "answers.h"
#include "driver/run.h"
#include "in_process_run.h"
#include "results/output_files.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

constexpr char kInput[] = "clean.rwl";
constexpr char kEndOfInput[] =
    "\n End of input before the dialogue was complete. Program terminating.\n";
constexpr char kClosing[] = " Normal Termination of Program\n Hit RETURN to EXIT\n";

// One answer per line, every kind of prompt: the pauses, the file name, yes/no questions, the
// plot menus (each figure saved, then continue), integers, and the closing Return.
const Answers kAnswers = {
    "",      // Hit Return to begin
    kInput,  // input file name
    "y",     // plot raw data
    "s",     //   save KVR_fig1.ps
    "c",     //   continue
    "y",     // power transformation
    "y",     // plot transformed data
    "s",     //   save KVR_fig1b.ps
    "c",     //   continue
    "2",     // calendar aligned
    "1",     // fixed class size
    "10",    // class size
    "2",     // RAC
    "s",     // chronology plot: save KVR_fig2.ps
    "c",     //   continue
    "y",     // KNMI file
    "",      // Hit RETURN to EXIT
};

std::string joined(std::size_t lines, const std::string& line_end) {
  return kAnswers.text(lines, line_end);
}

// A run on testdata/bad/clean.rwl with a plot window.
InProcessRun run_clean(const std::string& answers) {
  static const std::string input = read_file(project_file("testdata/bad/clean.rwl"));
  EXPECT_FALSE(input.empty());
  return run_in_process(answers, kInput, input, {true});
}

std::map<std::string, std::string> without_answers(std::map<std::string, std::string> files) {
  files.erase(kAnswersFile);
  return files;
}

TEST(AnswerCutTest, EveryCutBeforeTheClosingReturnEndsWithAMessage) {
  const InProcessRun whole = run_clean(joined(kAnswers.size(), "\n"));
  ASSERT_EQ(whole.status, kExitNormal) << whole.screen;
  for (const char* figure : {"KVR_fig1.ps", "KVR_fig1b.ps", "KVR_fig2.ps"}) {
    ASSERT_TRUE(whole.has_file(figure)) << figure << " was not saved";
  }
  ASSERT_NE(whole.screen.find("mean adaptive power"), std::string::npos);
  EXPECT_EQ(whole.file(kAnswersFile), joined(kAnswers.size(), "\n"));

  for (std::size_t lines = 0; lines + 1 < kAnswers.size(); ++lines) {
    SCOPED_TRACE("cut after " + std::to_string(lines) + " lines");
    const InProcessRun cut = run_clean(joined(lines, "\n"));
    EXPECT_EQ(cut.status, kExitFailure);
    EXPECT_TRUE(ends_with(cut.screen, kEndOfInput)) << cut.screen;
    EXPECT_EQ(cut.screen.find(" Normal Termination"), std::string::npos);
    // The run got as far as the answers took it, no further.
    EXPECT_EQ(cut.screen.substr(0, cut.screen.size() - std::string(kEndOfInput).size()),
              whole.screen.substr(0, cut.screen.size() - std::string(kEndOfInput).size()));
    // Once the file name was asked for, the answers read so far are kept.
    if (lines == 0) {
      EXPECT_FALSE(cut.has_file(kAnswersFile));
    } else {
      EXPECT_EQ(cut.file(kAnswersFile), joined(lines, "\n"));
    }
  }

  // Without the closing Return everything is written and the run ends normally.
  const InProcessRun last = run_clean(joined(kAnswers.size() - 1, "\n"));
  EXPECT_EQ(last.status, kExitNormal);
  EXPECT_TRUE(ends_with(last.screen, kClosing)) << last.screen;
  EXPECT_EQ(last.screen, whole.screen);
  EXPECT_EQ(without_answers(last.files), without_answers(whole.files));
  EXPECT_EQ(last.file(kAnswersFile), joined(kAnswers.size() - 1, "\n"));

  // A last answer without its line end still counts.
  std::string unended = joined(kAnswers.size() - 1, "\n");
  unended.pop_back();
  const InProcessRun no_line_end = run_clean(unended);
  EXPECT_EQ(no_line_end.status, kExitNormal);
  EXPECT_EQ(no_line_end.files, last.files);
}

TEST(AnswerCutTest, CrLfAndCrLineEndsWorkLikeLf) {
  const InProcessRun lf = run_clean(joined(kAnswers.size(), "\n"));
  ASSERT_EQ(lf.status, kExitNormal);
  for (const char* line_end : {"\r\n", "\r"}) {
    SCOPED_TRACE(line_end[1] == '\n' ? "CR LF" : "CR");
    const InProcessRun other = run_clean(joined(kAnswers.size(), line_end));
    EXPECT_EQ(other.status, kExitNormal);
    EXPECT_EQ(other.screen, lf.screen);
    EXPECT_EQ(other.files, lf.files);  // KVRanswers.txt with LF line ends too
    EXPECT_EQ(other.plot_calls, lf.plot_calls);
  }
}

// The same with the real program: a CR LF answers file gives the screen and the files of the
// LF one, and a cut at the alignment question ends with the message and status 1.
TEST(AnswerCutTest, RealProgramCrLfAnswersAndACut) {
  const std::string input = read_file(project_file("testdata/bad/clean.rwl"));
  std::map<std::string, std::string> lf_files;
  std::string lf_screen;
  const std::vector<std::string> results = {"clean.rwl_KVR.txt", "KVRmodeled.raw", "KVRmodeled.crn",
                                            "KVRchron_KNMI.txt", kAnswersFile,     "KVR_fig1.ps",
                                            "KVR_fig2.ps"};
  for (const char* line_end : {"\n", "\r\n"}) {
    SCOPED_TRACE(line_end[0] == '\n' ? "LF" : "CR LF");
    ScopedTempDir dir;
    write_file(kInput, input);
    write_file("answers.txt", joined(kAnswers.size(), line_end));
    const ProgramRun run = run_program("answers.txt", "DISPLAY=");
    EXPECT_EQ(run.exit_status, 0) << run.output;
    EXPECT_TRUE(ends_with(run.output, kClosing)) << run.output;
    std::map<std::string, std::string> files;
    for (const std::string& name : results) {
      files[name] = read_file(name);
      EXPECT_FALSE(files[name].empty()) << name;
    }
    if (lf_screen.empty()) {
      lf_screen = run.output;
      lf_files = files;
    } else {
      EXPECT_EQ(run.output, lf_screen);
      // PostScript files carry the time they were made.
      for (const char* name : {"clean.rwl_KVR.txt", "KVRmodeled.raw", "KVRmodeled.crn",
                               "KVRchron_KNMI.txt", kAnswersFile}) {
        EXPECT_EQ(files[name], lf_files[name]) << name;
      }
    }
  }

  ScopedTempDir dir;
  write_file(kInput, input);
  write_file("answers.txt", joined(9, "\r\n"));  // up to the alignment question
  const ProgramRun run = run_program("answers.txt", "DISPLAY=");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(ends_with(run.output,
                        std::string(" [2] Calendar Aligned values [1 or 2]? :> ") + kEndOfInput))
      << run.output;
  EXPECT_EQ(read_file(kInput), input);
  EXPECT_EQ(read_file(kAnswersFile), joined(9, "\n"));
}

}  // namespace
}  // namespace kvr::test
