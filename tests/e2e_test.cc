// Runs the real program with its standard input redirected from an answers file, as a user
// runs an analysis from a file, and checks the dialogue and the files it leaves.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace kvr {
namespace {

using test::archive_file;
using test::project_file;
using test::read_file;
using test::run_program;
using test::ScopedTempDir;
using test::write_file;

// Answers for a run without measurement plots or power transformation: alignment, option 1
// with the given class size and RAC index, "c" at the chronology plot's menu, and the KNMI
// file.
std::string plain_answers(const std::string& input, int alignment, int class_size, int rac_index) {
  return "\n" + input + "\nn\nn\n" + std::to_string(alignment) + "\n1\n" +
         std::to_string(class_size) + "\n" + std::to_string(rac_index) + "\nc\ny\n\n";
}

void copy_in(const std::filesystem::path& from, const std::string& name) {
  std::filesystem::copy_file(from, name, std::filesystem::copy_options::overwrite_existing);
}

constexpr char kExample[] = "example_spruce.rwl";

bool contains_line(const std::string& output, const std::string& line) {
  return output.find("\n" + line + "\n") != std::string::npos;
}

TEST(EndToEndTest, ExampleRunShowsTheDialogueAndWritesEveryFile) {
  ScopedTempDir dir;
  copy_in(project_file("examples/example_spruce.rwl"), "example_spruce.rwl");
  write_file("answers.txt", plain_answers("example_spruce.rwl", 1, 50, 2));
  const test::ProgramRun run = run_program("answers.txt", "DISPLAY=");
  ASSERT_EQ(run.exit_status, 0) << run.output;

  const std::vector<std::string> banner = {
      "",
      " Welcome to KVR (Varlem's Rank Dentrending Program) version v27_plplt ",
      " This program implements the method described in:",
      " Program Requirements:",
      " [1] A Tree-ring measurement file in decade format",
      " [2] User supplied Reference Age Class size (in years)",
      " [3] GMT 4.5 or greater (Unix version only)",
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
                           "KVRsignal.txt", "KVRsss.txt", "KVRchron_KNMI.txt"}) {
    EXPECT_FALSE(read_file(name).empty()) << name;
  }
  EXPECT_EQ(read_file("example_spruce.rwl"),
            read_file(project_file("examples/example_spruce.rwl")));
}

struct ArchiveCase {
  const char* file;
  int alignment;
  int class_size;
  int rac_index;
};

TEST(EndToEndTest, ArchiveFilesRunToTheEnd) {
  const std::vector<ArchiveCase> cases = {
      {"itrdb_ca533.rwl", 2, 100, 10},  // CR LF line ends, no header lines, 3-digit years
      {"itrdb_tx042.rwl", 1, 30, 2},    // LF, three header lines, 0.001 mm
  };
  for (const ArchiveCase& c : cases) {
    ScopedTempDir dir;
    copy_in(archive_file(c.file), c.file);
    write_file("answers.txt", plain_answers(c.file, c.alignment, c.class_size, c.rac_index));
    const test::ProgramRun run = run_program("answers.txt", "DISPLAY=");
    EXPECT_EQ(run.exit_status, 0) << c.file << "\n" << run.output;
    EXPECT_TRUE(contains_line(run.output, " Normal Termination of Program")) << c.file;
    EXPECT_FALSE(read_file(std::string(c.file) + "_KVR.txt").empty()) << c.file;
  }
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
       {"KVR_fig1.pdf", "KVR_fig1.png", "KVR_fig1.ps", "KVR_fig1b.pdf", "KVR_fig1b.png",
        "KVR_fig1b.ps", "KVR_fig2.pdf", "KVR_fig2.png", "KVR_fig2.ps", "KVRanswers.txt",
        "KVRchron_KNMI.txt", "KVRmodeled.crn", "KVRmodeled.raw", "KVRsignal.txt", "KVRsss.txt",
        std::string(kExample) + "_KVR.txt"}},
      // A saved figure, then a non-numeric alignment answer: no result table is begun.
      {"input error",
       {"", kExample, "y", "s", "c", "n", "1.5"},
       1,
       {"KVR_fig1.pdf", "KVR_fig1.png", "KVR_fig1.ps", "KVRanswers.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string typed, kept;
    for (const std::string& line : c.lines) {
      typed += line + "\r\n";
      kept += line + "\n";
    }
    typed += "never read\r\n";

    ScopedTempDir first_dir;
    copy_in(project_file(std::string("examples/") + kExample), kExample);
    write_file("answers.txt", typed);
    const test::ProgramRun first = run_program("answers.txt", "DISPLAY=");
    EXPECT_EQ(first.exit_status, c.status) << first.output;
    std::map<std::string, std::string> files = folder_files("answers.txt");
    EXPECT_EQ(files["KVRanswers.txt"], kept);
    files.erase(kExample);
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    EXPECT_EQ(names, c.files);

    ScopedTempDir repeat_dir;
    copy_in(project_file(std::string("examples/") + kExample), kExample);
    copy_in(first_dir.path() / "KVRanswers.txt", "KVRanswers.txt");
    const test::ProgramRun repeat = run_program("KVRanswers.txt", "DISPLAY=");
    EXPECT_EQ(repeat.exit_status, c.status);
    EXPECT_EQ(repeat.output, first.output);
    std::map<std::string, std::string> repeated = folder_files("");
    repeated.erase(kExample);
    ASSERT_EQ(repeated.size(), files.size());
    for (const auto& [name, bytes] : files) EXPECT_TRUE(repeated[name] == bytes) << name;
  }
}

// The lines of a file, and of each the fields between tabs.
std::vector<std::vector<std::string>> tab_fields(const std::string& file) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(read_file(file));
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    lines.emplace_back();
    for (std::string field; std::getline(fields, field, '\t');) lines.back().push_back(field);
  }
  return lines;
}

// Seven series over -2220 to -2070, calendar aligned: the signal files are tables of the five
// 50-year windows and of the 151 years.
TEST(EndToEndTest, ArchiveRunWritesTheSignalTables) {
  const std::string file = "itrdb_egy002.rwl";
  if (!std::filesystem::exists(archive_file(file))) GTEST_SKIP() << "no archive file " << file;
  ScopedTempDir dir;
  copy_in(archive_file(file), file);
  write_file("answers.txt", plain_answers(file, 2, 20, 2));
  const test::ProgramRun run = run_program("answers.txt", "DISPLAY=");
  ASSERT_EQ(run.exit_status, 0) << run.output;

  const auto signal = tab_fields("KVRsignal.txt");
  ASSERT_EQ(signal.size(), 5u + 1 + 5);
  EXPECT_EQ(signal[0][0], "# input file: " + file);
  EXPECT_EQ(signal[3][0].rfind("# whole chronology: rbar=", 0), 0u) << signal[3][0];
  EXPECT_TRUE(contains_line(run.output, "  " + signal[3][0].substr(2)));  // shown on screen
  EXPECT_EQ(signal[5], std::vector<std::string>(
                           {"start", "middle", "end", "n", "pairs", "rbar", "EPS", "SNR"}));
  for (std::size_t k = 6; k < signal.size(); ++k) EXPECT_EQ(signal[k].size(), 8u) << k;
  EXPECT_EQ(signal[6][0] + " " + signal[6][1] + " " + signal[6][2], "-2220 -2196 -2171");
  EXPECT_EQ(signal[10][0] + " " + signal[10][1] + " " + signal[10][2], "-2120 -2096 -2071");

  const auto sss = tab_fields("KVRsss.txt");
  ASSERT_EQ(sss.size(), 2u + 1 + 151);
  EXPECT_EQ(sss[2], std::vector<std::string>({"year", "depth", "SSS"}));
  EXPECT_EQ(sss[3][0], "-2220");
  EXPECT_EQ(sss.back()[0], "-2070");
}

TEST(EndToEndTest, MissingInputFileEndsWithAMessage) {
  ScopedTempDir dir;
  write_file("answers.txt", "\nno_such_file.rwl\n");
  const test::ProgramRun run = run_program("answers.txt", "DISPLAY=");
  EXPECT_NE(run.exit_status, 0);
  EXPECT_NE(run.output.find("Cannot open the input file no_such_file.rwl"), std::string::npos)
      << run.output;
  EXPECT_FALSE(std::filesystem::exists("no_such_file.rwl_KVR.txt"));
}

}  // namespace
}  // namespace kvr
