// Runs the fuzzers' seed corpus through the program in the ordinary test build, so that every
// seed (and every crash input kept as a regression case) is also checked under g++'s
// sanitizers, and so that the answers files keep walking the dialogue paths they were made
// for when the dialogue changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../fuzz/small_run_file.h"
#include "driver/read_input.h"
#include "driver/run.h"
#include "in_process_run.h"
#include "io/console.h"
#include "test_support.h"

namespace kvr::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> seeds_of(const std::string& harness) {
  std::vector<fs::path> seeds;
  const fs::path folder = project_file("testdata/fuzz/" + harness);
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) seeds.push_back(entry.path());
  }
  std::sort(seeds.begin(), seeds.end());
  return seeds;
}

// One run as the fuzz_run harness makes it: the small file in memory, no plot window.
InProcessRun run_in_memory(const std::string& answers) {
  return run_in_process(answers, fuzz::kSmallRunFileName, fuzz::small_run_file());
}

// What an answers seed is for: its exit status, texts the dialogue must show on the way, and
// the files the run must leave (written) or must not leave (absent).
struct Expectation {
  int status;
  std::vector<std::string> texts;
  std::vector<std::string> written;
  std::vector<std::string> absent;
};

const std::map<std::string, Expectation>& run_expectations() {
  static const std::map<std::string, Expectation> expectations = {
      {"age_option1_knmi.txt",
       {0,
        {" Maximum series age is   74", " AgeClass    Start    Stop   "},
        {"KVRmodeled.raw", "KVRmodeled.crn", "KVRchron_KNMI.txt"},
        {"KVR_fig2.ps"}}},
      {"calendar_option1_no_knmi.txt",
       {0,
        {" Maximum chronology length is  107", " AgeClass  Strt.Yr  End.Yr   Strt.pos."},
        {"small.rwl_KVR.txt"},
        {"KVRchron_KNMI.txt"}}},
      {"age_option2_save_plot.txt",
       {0, {" Enter Reference Age Class (RAC) Start Age :> "}, {"KVR_fig2.ps"}, {}}},
      {"calendar_option2.txt",
       {0, {" Enter Reference Age Class (RAC) Start Year :> "}, {"KVRchron_KNMI.txt"}, {}}},
      {"rejections.txt",
       {0,
        {" Invalid entries. Try Again or quit", " (Note: Must be a value between 1 and   7)"},
        {},
        {}}},
      {"calendar_rejections.txt", {0, {" Invalid entries. Try Again or quit"}, {}, {}}},
      {"raw_plot_menu.txt",
       {0,
        {" | [s]ave <[c]ontinue> [r]eplot change<b>ackground |"},
        {"KVR_fig1.ps"},
        {"KVR_fig1b.ps"}}},
      {"power_transform_plots.txt",
       {0,
        {"  (The mean adaptive power transform power applied is: "},
        {"KVR_fig1b.ps", "KVR_fig2.ps", "KVRchron_KNMI.txt"},
        {"KVR_fig1.ps"}}},
      {"power_transform_calendar.txt",
       {0, {" Plot Transformed data? [Y]es or [N]o? :> "}, {"KVR_fig2.ps"}, {"KVR_fig1b.ps"}}},
      {"crlf_answers.txt", {0, {"  (The mean adaptive"}, {"KVRchron_KNMI.txt"}, {}}},
      {"class_size_one.txt", {0, {" [107]        2007     2007       107     107"}, {}, {}}},
      {"missing_file.txt", {1, {" Cannot open the input file missing.rwl: "}, {}, {}}},
      {"not_a_number.txt", {1, {" Input error: a whole number was expected."}, {}, {}}},
      {"cut_in_dialogue.txt",
       {1, {" End of input before the dialogue was complete."}, {}, {"KVRmodeled.raw"}}},
  };
  return expectations;
}

TEST(FuzzCorpusTest, AnswerSeedsWalkTheirDialoguePaths) {
  std::size_t checked = 0;
  for (const fs::path& seed : seeds_of("fuzz_run")) {
    SCOPED_TRACE(seed.filename().string());
    const InProcessRun run = run_in_memory(read_file(seed));
    // Every seed, regression cases included: a clear end, normal only when complete.
    ASSERT_TRUE(run.status == kExitNormal || run.status == kExitFailure) << run.status;
    EXPECT_EQ(run.status == kExitNormal,
              run.screen.find("\n Normal Termination of Program\n") != std::string::npos);

    const auto expected = run_expectations().find(seed.filename().string());
    if (expected == run_expectations().end()) continue;
    ++checked;
    const Expectation& e = expected->second;
    EXPECT_EQ(run.status, e.status) << run.screen;
    for (const std::string& text : e.texts) {
      EXPECT_NE(run.screen.find(text), std::string::npos) << "missing: [" << text << "]";
    }
    for (const std::string& name : e.written) {
      EXPECT_TRUE(run.has_file(name)) << name << " not written";
    }
    for (const std::string& name : e.absent) {
      EXPECT_FALSE(run.has_file(name)) << name << " written";
    }
  }
  EXPECT_EQ(checked, run_expectations().size()) << "a seed named in the table is missing";
}

// The reader seeds, of every kind of input file, go through the program's own reading step:
// each either gives a measurement set or a reason on the console, and never a crash.
TEST(FuzzCorpusTest, ReaderSeedsReadOrAreRefused) {
  for (const char* harness : {"fuzz_trrw_mr", "fuzz_datar", "fuzz_noaa", "fuzz_column_table"}) {
    for (const fs::path& seed : seeds_of(harness)) {
      SCOPED_TRACE(seed.string());
      std::istringstream file(read_file(seed));
      std::istringstream no_answers;
      std::ostringstream out;
      Console console(no_answers, out);
      const MeasurementReading reading = read_measurement_file(file);
      if (show_reading(console, reading)) {
        EXPECT_GT(reading.set.count(), 0);
        // The table readers give every series in double precision too.
        if (reading.kind != FileKind::kMeasurements) {
          EXPECT_EQ(reading.measured.size(), static_cast<std::size_t>(reading.set.count()));
        }
      } else {
        EXPECT_FALSE(out.str().empty()) << "refused without a reason";
      }
    }
  }
}

// libFuzzer sizes its inputs by the largest seed; big seeds would slow every harness down.
TEST(FuzzCorpusTest, SeedsStaySmall) {
  for (const char* harness : {"fuzz_trrw_mr", "fuzz_datar", "fuzz_answers", "fuzz_run", "fuzz_noaa",
                              "fuzz_column_table"}) {
    const std::vector<fs::path> seeds = seeds_of(harness);
    EXPECT_FALSE(seeds.empty()) << harness;
    for (const fs::path& seed : seeds) EXPECT_LE(fs::file_size(seed), 4096u) << seed;
  }
}

}  // namespace
}  // namespace kvr::test
