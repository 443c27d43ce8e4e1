// Whole analyses run in process: answers from a string, files in memory, plots recorded.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "data/line_reader.h"
#include "data/trrw.h"
#include "driver/console.h"
#include "driver/memory_file_system.h"
#include "driver/run.h"
#include "plot/recording_plotter.h"
#include "test_support.h"

namespace kvr {
namespace {

// What one run left behind.
struct InProcessRun {
  int status = -1;
  std::string screen;
  std::vector<std::string> plot_calls;
  std::map<std::string, std::string> files;  // every file of the run, the input included
  std::vector<std::string> environment;      // "NAME=value" for each variable the run set
};

std::vector<std::string>* recorded_environment = nullptr;

void record_environment(const char* name, const char* value) {
  recorded_environment->push_back(std::string(name) + "=" + value);
}

// Removes PLPLOT_LIB for the lifetime of the object, so that the run sets it itself, and
// puts back what was there.
class WithoutFontFolder {
 public:
  WithoutFontFolder() {
    if (const char* value = std::getenv("PLPLOT_LIB")) saved_ = value;
    ::unsetenv("PLPLOT_LIB");
  }
  ~WithoutFontFolder() {
    if (saved_) ::setenv("PLPLOT_LIB", saved_->c_str(), 1);
  }
  WithoutFontFolder(const WithoutFontFolder&) = delete;
  WithoutFontFolder& operator=(const WithoutFontFolder&) = delete;

 private:
  std::optional<std::string> saved_;
};

void replace_all(std::string* text, const std::string& from, const std::string& to) {
  for (std::size_t at = text->find(from); at != std::string::npos;
       at = text->find(from, at + to.size())) {
    text->replace(at, from.size(), to);
  }
}

// Runs one analysis on `input` (stored under `input_name`) with the given answers. The font
// folder of this build, which the banner names, shows as "<PLPLOT_LIB>" in the screen.
InProcessRun run_in_process(const std::string& answers, const std::string& input_name,
                            const std::string& input, bool window_available = true) {
  InProcessRun run;
  MemoryFileSystem files;
  files.files[input_name] = input;
  std::istringstream in(answers);
  std::ostringstream out;
  Console console(in, out);
  RecordingPlotter plotter(window_available);
  {
    WithoutFontFolder no_font_folder;
    recorded_environment = &run.environment;
    run.status = run_analysis(console, plotter, files, record_environment);
    recorded_environment = nullptr;
  }
  run.screen = out.str();
  replace_all(&run.screen, KVR_PLPLOT_LIB, "<PLPLOT_LIB>");
  run.plot_calls = plotter.calls();
  run.files = files.files;
  return run;
}

std::string file_of(const InProcessRun& run, const std::string& name) {
  const auto file = run.files.find(name);
  return file == run.files.end() ? "<no file " + name + ">" : file->second;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A whole run whose transcript is kept under testdata/golden: the answers in <name>.in, the
// screen in <name>.screen, the plot calls in <name>.plot, the names of the files the run
// wrote in <name>.files and each of them (but the PostScript files, which PLplot writes and
// which a recording plotter leaves empty) in <name>.<file name>.
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

std::string joined_lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

bool is_postscript(const std::string& name) {
  return name.size() > 3 && name.compare(name.size() - 3, 3, ".ps") == 0;
}

TEST(AnalysisGoldenTest, WholeRunsMatchTheirTranscripts) {
  for (const GoldenCase& c : kGoldenCases) {
    SCOPED_TRACE(c.name);
    const std::string base = std::string("golden/") + c.name;
    const std::string answers = test::read_file(test::project_file("testdata/" + base + ".in"));
    const std::string input =
        test::read_file(test::project_file(std::string("testdata/golden/") + c.input));
    ASSERT_FALSE(answers.empty());
    ASSERT_FALSE(input.empty());
    const InProcessRun run = run_in_process(answers, c.input, input, c.window_available);
    EXPECT_EQ(run.status, kExitNormal);
    EXPECT_EQ(run.environment, std::vector<std::string>{"PLPLOT_LIB=" KVR_PLPLOT_LIB});
    test::expect_matches_golden(base + ".screen", run.screen);
    test::expect_matches_golden(base + ".plot", joined_lines(run.plot_calls));
    std::vector<std::string> written;
    for (const auto& [name, bytes] : run.files) {
      if (name == c.input) {
        EXPECT_EQ(bytes, input) << "the input file changed";
        continue;
      }
      written.push_back(name);
      if (!is_postscript(name)) test::expect_matches_golden(base + "." + name, bytes);
    }
    test::expect_matches_golden(base + ".files", joined_lines(written));
  }
}

// A chronology value that the four-column index field cannot hold (12.34 mm gives 12340, the
// -999 of a missing ring read as a value gives -9990) is written to KVRmodeled.crn as the
// filler, with a warning, and the file still reads back; the result table keeps the value.
TEST(ModeledChronologyTest, ValuesTheIndexFieldCannotHoldAreWrittenAsMissing) {
  const std::string input =
      "WIDE01  1990   150  1234   180   999\n"
      "WIDE02  1994   120  -999   130   999\n";
  // Calendar aligned, one class of size 7 holding everything: every value is its own RAC
  // value, so each year's chronology is the one value of that year.
  const InProcessRun run =
      run_in_process("\nwide.rwl\nn\nn\n2\n1\n7\n1\nc\nn\n\n", "wide.rwl", input);
  ASSERT_EQ(run.status, kExitNormal) << run.screen;
  EXPECT_TRUE(contains(run.screen,
                       "\n Warning: 2 years of the chronology (from 1991 to 1995) lie outside "
                       "-0.999 to 9.989, which the index records of KVRmodeled.crn cannot hold; "
                       "they are written there as missing (9990).\n"))
      << run.screen;

  const std::string crn = file_of(run, "KVRmodeled.crn");
  const std::string records = crn.substr(crn.find("KVRcrn"));
  EXPECT_EQ(records,
            "KVRcrn19901500  19990  01800  19990  01200  19990  01300  19990  09990  09990  0"
            "     \n");
  std::istringstream in(crn);
  LineReader lines(in);
  TrrwSeries chronology;
  TrrwText text;
  int counter = 0;
  std::ostringstream echo;
  ASSERT_EQ(trrw_read(lines, TrrwMode::kIndexRead, kMaxPositions, &chronology, &counter, &text,
                      echo, nullptr),
            TrrwStatus::kSeries);
  std::vector<long> thousandths;
  for (const float v : chronology.values) {
    thousandths.push_back(is_missing(v) ? -1 : std::lround(static_cast<double>(v) * 1000.0));
  }
  EXPECT_EQ(thousandths, (std::vector<long>{1500, -1, 1800, -1, 1200, -1, 1300}));

  // One such year is named by itself.
  const InProcessRun single = run_in_process("\nwide.rwl\nn\nn\n2\n1\n3\n1\nc\nn\n\n", "wide.rwl",
                                             "WIDE01  1990   150  1234   180   999\n");
  ASSERT_EQ(single.status, kExitNormal) << single.screen;
  EXPECT_TRUE(contains(single.screen,
                       "\n Warning: the chronology value of 1991 lies outside -0.999 to 9.989, "
                       "which the index records of KVRmodeled.crn cannot hold; it is written "
                       "there as missing (9990).\n"))
      << single.screen;

  const std::string table = file_of(run, "wide.rwl_KVR.txt");
  EXPECT_TRUE(contains(table, "\n         1991           1    1.35833    12.3400")) << table;
  EXPECT_TRUE(contains(table, "\n         1995           1    1.35833   -9.99000")) << table;
}

}  // namespace
}  // namespace kvr
