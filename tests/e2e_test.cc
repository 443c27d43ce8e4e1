// Runs the real program with its standard input redirected from an answers file, as a user
// runs an analysis from a file, and checks the dialogue and the files it leaves.

#include <gtest/gtest.h>

#include <filesystem>
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
std::string plain_answers(const std::string& input, int alignment, int class_size,
                          int rac_index) {
  return "\n" + input + "\nn\nn\n" + std::to_string(alignment) + "\n1\n" +
         std::to_string(class_size) + "\n" + std::to_string(rac_index) + "\nc\ny\n\n";
}

void copy_in(const std::filesystem::path& from, const std::string& name) {
  std::filesystem::copy_file(from, name, std::filesystem::copy_options::overwrite_existing);
}

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
                           "KVRchron_KNMI.txt"}) {
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
