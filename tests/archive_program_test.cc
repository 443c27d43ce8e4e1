// Runs the real program on files of the archive beside the checkout, as a user runs an
// analysis from an answers file. Each test skips when its file is not there (a test that also
// runs the shipped example checks it first).

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "answers.h"
#include "results/output_files.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

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
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(c.file);
    ScopedTempDir dir;
    copy_here(archive_file(c.file), c.file);
    write_file("answers.txt", plain_answers(c.file, c.alignment, c.class_size, c.rac_index).text());
    const ProgramRun run = run_program("answers.txt", "DISPLAY=");
    EXPECT_EQ(run.exit_status, 0) << c.file << "\n" << run.output;
    EXPECT_TRUE(contains_line(run.output, " Normal Termination of Program")) << c.file;
    EXPECT_FALSE(read_file(std::string(c.file) + "_KVR.txt").empty()) << c.file;
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
  KVR_SKIP_WITHOUT_ARCHIVE_FILE(file);
  ScopedTempDir dir;
  copy_here(archive_file(file), file);
  write_file("answers.txt", plain_answers(file, 2, 20, 2).text());
  const ProgramRun run = run_program("answers.txt", "DISPLAY=");
  ASSERT_EQ(run.exit_status, 0) << run.output;

  const auto signal = tab_fields(kSignalFile);
  ASSERT_EQ(signal.size(), 5u + 1 + 5);
  EXPECT_EQ(signal[0][0], "# input file: " + file);
  EXPECT_EQ(signal[3][0].rfind("# whole chronology: rbar=", 0), 0u) << signal[3][0];
  EXPECT_TRUE(contains_line(run.output, "  " + signal[3][0].substr(2)));  // shown on screen
  EXPECT_EQ(signal[5], std::vector<std::string>(
                           {"start", "middle", "end", "n", "pairs", "rbar", "EPS", "SNR"}));
  for (std::size_t k = 6; k < signal.size(); ++k) EXPECT_EQ(signal[k].size(), 8u) << k;
  EXPECT_EQ(signal[6][0] + " " + signal[6][1] + " " + signal[6][2], "-2220 -2196 -2171");
  EXPECT_EQ(signal[10][0] + " " + signal[10][1] + " " + signal[10][2], "-2120 -2096 -2071");

  const auto sss = tab_fields(kSubsampleSignalFile);
  ASSERT_EQ(sss.size(), 2u + 1 + 151);
  EXPECT_EQ(sss[2], std::vector<std::string>({"year", "depth", "SSS"}));
  EXPECT_EQ(sss[3][0], "-2220");
  EXPECT_EQ(sss.back()[0], "-2070");
}

// The lines between the file prompt and the summary block.
std::vector<std::string> reading_lines(const std::string& screen) {
  const std::string prompt = " Enter input file name :> ";
  const std::size_t begin = screen.find(prompt);
  const std::size_t end = screen.find("  ******************************************");
  std::vector<std::string> lines;
  if (begin == std::string::npos || end == std::string::npos || end < begin) return lines;
  std::istringstream in(screen.substr(begin + prompt.size(), end - begin - prompt.size()));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(BadInputTest, CleanFilesGetNoReadingWarnings) {
  // The shipped example and a clean archive file, each with three header lines.
  const std::vector<std::filesystem::path> files = {project_file("examples/example_spruce.rwl"),
                                                    archive_file("itrdb_tx042.rwl")};
  std::string missing;
  for (const std::filesystem::path& file : files) {
    if (!std::filesystem::exists(file)) {
      missing += " " + file.string();
      continue;
    }
    SCOPED_TRACE(file.string());
    ScopedTempDir dir;
    const std::string name = file.filename().string();
    const std::string bytes = read_file(file);
    ASSERT_FALSE(bytes.empty());
    write_file(name, bytes);
    write_file("answers.txt", plain_answers(name, 1, 20, 1).text());
    const ProgramRun run = run_program("answers.txt", "DISPLAY=");
    EXPECT_EQ(run.exit_status, 0) << run.output;

    // The title echo and the header lines in their 80 columns, then the summary's empty line.
    std::vector<std::string> want = {"", " title of data:"};
    std::istringstream in(bytes);
    std::string line;
    for (int k = 0; k < 3 && std::getline(in, line); ++k) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      line.resize(80, ' ');
      want.push_back(" " + line);
    }
    want.push_back("");
    EXPECT_EQ(reading_lines(run.output), want);
  }
  if (!missing.empty()) GTEST_SKIP() << "the other files were checked; absent:" << missing;
}

}  // namespace
}  // namespace kvr::test
