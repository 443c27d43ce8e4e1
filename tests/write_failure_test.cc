// A result file that cannot be created or written ends the run with a message naming the file
// and a non-zero exit status, never with " Normal Termination of Program"; it never leaves a
// result file of an earlier run half replaced. KVRanswers.txt, written after the closing Return,
// fails the same way after the closing lines.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "answers.h"
#include "driver/run.h"
#include "in_process_run.h"
#include "memory_file_system.h"
#include "results/output_files.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

constexpr char kInput[] = "clean.rwl";
constexpr char kNormalEnd[] = " Normal Termination of Program";
// The result files in the order the run writes them; the answers file comes last, at every
// end of the run.
const std::vector<std::string> kResultFiles = {
    "clean.rwl_KVR.txt", kModeledRawFile, kModeledCrnFile, kSignalFile, kSubsampleSignalFile,
    kSeriesReportFile,   kSegmentsFile,   kCurveFile,      kRcsFile,    kKnmiFile};

std::vector<std::string> files_written() {
  std::vector<std::string> names = kResultFiles;
  names.push_back(kAnswersFile);
  return names;
}

// Age aligned, classes of 10 with the first as the RAC, the KNMI file asked for.
std::string answers() { return plain_answers(kInput, 1, 10, 1).text(); }

std::string message_for(const std::string& file, const std::string& reason) {
  return "\n Cannot write the file " + file + ": " + reason + ". Program terminating.\n";
}

TEST(WriteFailureTest, InProcessEveryResultFileThatCannotBeCreatedOrWritten) {
  const std::string input = read_file(project_file("testdata/bad/clean.rwl"));
  ASSERT_FALSE(input.empty());
  const std::vector<std::string> names = files_written();
  for (std::size_t k = 0; k < names.size(); ++k) {
    const std::string& name = names[k];
    const bool answers_fail = name == kAnswersFile;
    for (const bool full : {false, true}) {
      SCOPED_TRACE(name + (full ? " on a full disk" : " cannot be created"));
      MemoryFileSystem files;
      files.files[kInput] = input;
      (full ? files.full : files.failing).insert(name);
      const InProcessRun run = run_in_process(answers(), files);
      const std::string& screen = run.screen;

      EXPECT_EQ(run.status, kExitFailure) << screen;
      EXPECT_TRUE(ends_with(screen, message_for(name, full ? kWriteFailed : "Permission denied")))
          << screen;
      EXPECT_EQ(contains(screen, kNormalEnd), answers_fail);
      EXPECT_EQ(run.file(kInput), input);
      // The files before it are complete; no result file after it is begun.
      for (std::size_t before = 0; before < k; ++before) {
        EXPECT_TRUE(run.has_file(names[before]) && !run.file(names[before]).empty())
            << names[before];
      }
      for (std::size_t after = k + 1; after < kResultFiles.size(); ++after) {
        EXPECT_FALSE(run.has_file(kResultFiles[after])) << kResultFiles[after];
      }
      if (!answers_fail) {
        // The answers read up to the failure are kept, so that it can be repeated.
        const std::string kept = run.file(kAnswersFile);
        EXPECT_FALSE(kept.empty());
        EXPECT_EQ(answers().rfind(kept, 0), 0u) << kept;
      }
    }
  }
}

// A run refused after the file name (the input holds no series) or failed on a write leaves
// the result files of an earlier run as they were; only files written whole replace them.
TEST(WriteFailureTest, InProcessEarlierResultFilesSurviveARefusedOrFailedRun) {
  const std::string clean = read_file(project_file("testdata/bad/clean.rwl"));
  struct Case {
    const char* name;
    std::string input;
    const char* full;      // the result file whose writes fail, or none
    std::size_t replaced;  // how many result files (in the order written) this run replaced
  };
  const Case cases[] = {
      {"no series", "A header line and nothing else\n", "", 0},
      {"full at the chronology", clean, "KVRmodeled.crn", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFileSystem files;
    files.files[kInput] = c.input;
    for (const std::string& name : kResultFiles) files.files[name] = "earlier " + name;
    files.full.insert(c.full);
    const InProcessRun run = run_in_process(answers(), files);
    EXPECT_EQ(run.status, kExitFailure);
    for (std::size_t k = 0; k < kResultFiles.size(); ++k) {
      const std::string& name = kResultFiles[k];
      EXPECT_EQ(run.file(name) == "earlier " + name, k >= c.replaced) << name;
    }
  }
}

// The real program, with each result file in turn replaced by a symbolic link to /dev/full
// (every write fails as on a full disk) or by a folder of its name (it cannot be created;
// a read-only folder would not do, as the tests may run as root).
TEST(WriteFailureTest, RealProgramOnAFullDiskAndWithAFolderInTheWay) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::string input = read_file(project_file("testdata/bad/clean.rwl"));
  for (const std::string& name : files_written()) {
    for (const bool full : {true, false}) {
      SCOPED_TRACE(name + (full ? " on /dev/full" : " is a folder"));
      ScopedTempDir dir;
      write_file(kInput, input);
      write_file("answers.txt", answers());
      if (full) {
        std::filesystem::create_symlink("/dev/full", name);
      } else {
        std::filesystem::create_directory(name);
      }
      const ProgramRun run = run_program("answers.txt", "DISPLAY=");
      EXPECT_EQ(run.exit_status, 1) << run.output;
      EXPECT_NE(run.output.find(message_for(name, full ? kWriteFailed : "Is a directory")),
                std::string::npos)
          << run.output;
      EXPECT_EQ(run.output.find(kNormalEnd) != std::string::npos, name == kAnswersFile);
      EXPECT_EQ(read_file(kInput), input);
      // No temporary file is left behind (they are hidden files).
      for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
      }
    }
  }
}

}  // namespace
}  // namespace kvr::test
