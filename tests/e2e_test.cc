// Runs the real program with its standard input redirected from an answers file, as a user
// runs an analysis from a file, and checks the dialogue and the files it leaves.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "answers.h"
#include "results/output_files.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

constexpr char kExample[] = "example_spruce.rwl";

TEST(EndToEndTest, ExampleRunShowsTheDialogueAndWritesEveryFile) {
  ScopedTempDir dir;
  copy_here(project_file("examples/example_spruce.rwl"), "example_spruce.rwl");
  write_file("answers.txt", plain_answers("example_spruce.rwl", 1, 50, 2).text());
  // An empty PLPLOT_LIB counts as unset: the program sets it to the folder of its PLplot.
  const ProgramRun run = run_program("answers.txt", "DISPLAY= PLPLOT_LIB=");
  ASSERT_EQ(run.exit_status, 0) << run.output;

  const std::vector<std::string> banner = {
      "",
      " Welcome to KVR (Varlem's Rank Dentrending Program) version v27_plplt ",
      " This program implements the method described in:",
      " Program Requirements:",
      " [1] A Tree-ring measurement file in decade format",
      " [2] User supplied Reference Age Class size (in years)",
      " [3] GMT 4.5 or greater (Unix version only)",
      " [3] PLplot font files in the folder named by PLPLOT_LIB, e.g. " KVR_PLPLOT_LIB,
      " Current program dimensions are: ",
      " Maximum number of series :  1001",
      " Maximum series/chronology length :  10001",
      " Hit Return to begin",
  };
  for (const std::string& line : banner) {
    EXPECT_TRUE(contains_line(run.output, line)) << "missing line: [" << line << "]";
  }
  EXPECT_EQ(run.output.rfind("\n Welcome", 0), 0u) << "the banner starts with an empty line";
  for (const char* text :
       {"\n Enter input file name :> ", "\n Plot raw data? [Y]es or [N]o? :> ",
        "\n Apply Power Transformation? [Y]es or [N]o :> ",
        "\n Continue analysis with, \n [1] Age Aligned  \n"
        " [2] Calendar Aligned values [1 or 2]? :> ",
        "\n Do you want to save the final chronology in \n"
        " a format suitable for uploading into KNMI.CE?\n Enter [Y]es or [N]o :> ",
        "Enter [Y]es or [N]o :> \n Normal Termination of Program\n Hit RETURN to EXIT\n"}) {
    EXPECT_NE(run.output.find(text), std::string::npos) << "missing: [" << text << "]";
  }
  EXPECT_EQ(run.output.find("Plot Transformed data?"), std::string::npos);
  EXPECT_EQ(run.output.find("mean adaptive power"), std::string::npos);

  for (const char* name : {"example_spruce.rwl_KVR.txt", "KVRmodeled.raw", "KVRmodeled.crn",
                           "KVRsignal.txt", "KVRsss.txt", "KVRseries.txt", "KVRsegments.txt",
                           "KVRcurve.txt", "KVRrcs.txt", "KVRchron_KNMI.txt"}) {
    EXPECT_FALSE(read_file(name).empty()) << name;
  }
  EXPECT_EQ(read_file("example_spruce.rwl"),
            read_file(project_file("examples/example_spruce.rwl")));
}

// Every file in the current folder but `skip`, PostScript files without their creation date.
std::map<std::string, std::string> folder_files(const std::string& skip) {
  std::map<std::string, std::string> files;
  for (const std::filesystem::directory_entry& entry :
       std::filesystem::directory_iterator(std::filesystem::current_path())) {
    const std::string name = entry.path().filename().string();
    if (name == skip) continue;
    std::string bytes = read_file(name);
    // PostScript and PDF figures carry the time they were made.
    for (const char* stamp : {"%%CreationDate:", "/CreationDate ("}) {
      if (const std::size_t date = bytes.find(stamp); date != std::string::npos) {
        bytes.erase(date, bytes.find('\n', date) - date);
      }
    }
    files[name] = bytes;
  }
  return files;
}

// A run leaves the lines it read in KVRanswers.txt, LF ended and nothing after the last one it
// took; run again from that file, in a folder holding only it and the input file, the program
// shows the same screen and leaves the same files, KVRanswers.txt included.
TEST(EndToEndTest, ARunRepeatedFromItsAnswersGivesTheSameScreenAndFiles) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;  // the lines the run reads
    int status;
    std::vector<std::string> files;  // the files it leaves beside the input
  };
  const std::vector<Case> cases = {
      // Both measurement plots saved, the power transformation, calendar alignment, the
      // chronology plot saved and the KNMI file; a blank line is skipped before the file
      // name, an answer has words after it.
      {"complete",
       {"", "", kExample, "y", "s", "c", "yes please", "y", "s", "c", "2", "1", "50", "2", "s", "c",
        "y", ""},
       0,
       {"KVR_fig1.pdf",
        "KVR_fig1.png",
        "KVR_fig1.ps",
        "KVR_fig1b.pdf",
        "KVR_fig1b.png",
        "KVR_fig1b.ps",
        "KVR_fig2.pdf",
        "KVR_fig2.png",
        "KVR_fig2.ps",
        "KVRanswers.txt",
        "KVRchron_KNMI.txt",
        "KVRcompare.pdf",
        "KVRcompare.png",
        "KVRcompare.ps",
        "KVRcurve.txt",
        "KVRmodeled.crn",
        "KVRmodeled.raw",
        "KVRrcs.txt",
        "KVRsegments.txt",
        "KVRseries.txt",
        "KVRsignal.txt",
        "KVRsss.txt",
        "example_spruce.rwl_KVR.txt"}},
      // A saved figure, then a non-numeric alignment answer: no result table is begun.
      {"input error",
       {"", kExample, "y", "s", "c", "n", "1.5"},
       1,
       {"KVR_fig1.pdf", "KVR_fig1.png", "KVR_fig1.ps", "KVRanswers.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Answers answers = Answers().lines(c.lines);
    const std::string kept = answers.text();
    const std::string typed = answers.text("\r\n") + "never read\r\n";

    ScopedTempDir first_dir;
    copy_here(project_file(std::string("examples/") + kExample), kExample);
    write_file("answers.txt", typed);
    const ProgramRun first = run_program("answers.txt", "DISPLAY=");
    EXPECT_EQ(first.exit_status, c.status) << first.output;
    std::map<std::string, std::string> files = folder_files("answers.txt");
    EXPECT_EQ(files[kAnswersFile], kept);
    files.erase(kExample);
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    EXPECT_EQ(names, c.files);

    ScopedTempDir repeat_dir;
    copy_here(project_file(std::string("examples/") + kExample), kExample);
    copy_here(first_dir.path() / "KVRanswers.txt", "KVRanswers.txt");
    const ProgramRun repeat = run_program("KVRanswers.txt", "DISPLAY=");
    EXPECT_EQ(repeat.exit_status, c.status);
    EXPECT_EQ(repeat.output, first.output);
    std::map<std::string, std::string> repeated = folder_files("");
    repeated.erase(kExample);
    ASSERT_EQ(repeated.size(), files.size());
    for (const auto& [name, bytes] : files) EXPECT_TRUE(repeated[name] == bytes) << name;
  }
}

TEST(EndToEndTest, MissingInputFileEndsWithAMessage) {
  ScopedTempDir dir;
  write_file("answers.txt", "\nno_such_file.rwl\n");
  const ProgramRun run = run_program("answers.txt", "DISPLAY=");
  EXPECT_NE(run.exit_status, 0);
  EXPECT_NE(run.output.find("Cannot open the input file no_such_file.rwl"), std::string::npos)
      << run.output;
  EXPECT_FALSE(std::filesystem::exists("no_such_file.rwl_KVR.txt"));
}

}  // namespace
}  // namespace kvr::test
