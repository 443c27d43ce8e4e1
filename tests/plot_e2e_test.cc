// Whole runs of the real program on the shipped example with the real PLplot: the figures it
// saves without a display (PostScript, PDF and PNG, and PostScript alone without PLplot's
// cairo devices), and the plot windows under a virtual X server, dismissed the ways a
// user dismisses them.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "answers.h"
#include "plot/plot_loop.h"
#include "results/output_files.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

namespace fs = std::filesystem;

constexpr char kExample[] = "example_spruce.rwl";
constexpr char kMenuPrompt[] = "  Enter selection s, <c>, r, or b > ";
constexpr char kNoWindow[] = " No plot window can be shown";

// The files every complete run with the KNMI answer "y" leaves.
const std::vector<std::string>& result_files() {
  static const std::vector<std::string> names = {"example_spruce.rwl_KVR.txt", "KVRmodeled.raw",
                                                 "KVRmodeled.crn", "KVRchron_KNMI.txt"};
  return names;
}

// The number printed after `label` in the data summary, or -1.
double summary_value(const std::string& output, const std::string& label) {
  const std::size_t at = output.find(label);
  if (at == std::string::npos) return -1.0;
  return std::atof(output.c_str() + at + label.size());
}

void copy_example() { copy_here(project_file(std::string("examples/") + kExample), kExample); }

// Plot the raw data, transform and plot the transformed data, age alignment, Age Classes of
// 50 with the second as RAC, the KNMI file. `raw`, `transformed` and `chronology` are the
// answers at each plot's menus, one line each.
std::string answers(const std::vector<std::string>& raw,
                    const std::vector<std::string>& transformed,
                    const std::vector<std::string>& chronology) {
  return Answers()
      .start(kExample)
      .yes()
      .lines(raw)
      .yes()
      .yes()
      .lines(transformed)
      .number(1)
      .fixed_classes(50, 2)
      .lines(chronology)
      .yes()
      .end()
      .text();
}

// PLplot and Xlib are loaded when a figure is drawn or a display is probed, not at the start:
// the loader names each library it loads (LD_DEBUG=files). (PLplot's cairo devices bring
// Xlib along themselves.)
TEST(PlotEndToEndTest, PlplotAndXlibAreLoadedOnlyWhenNeeded) {
  ScopedTempDir dir;
  copy_example();
  write_file("answers.txt", answers({"c"}, {"c"}, {"c"}));
  const ProgramRun shown = run_program("answers.txt", "DISPLAY= LD_DEBUG=files");
  ASSERT_EQ(shown.exit_status, 0) << shown.output;
  EXPECT_EQ(shown.output.find("libplplot"), std::string::npos) << shown.output;
  EXPECT_EQ(shown.output.find("libX11"), std::string::npos) << shown.output;

  write_file("answers.txt", answers({"c"}, {"c"}, {"s", "c"}));
  const ProgramRun saved = run_program("answers.txt", "DISPLAY= LD_DEBUG=files");
  ASSERT_EQ(saved.exit_status, 0) << saved.output;
  EXPECT_NE(saved.output.find("libplplot"), std::string::npos) << saved.output;
  EXPECT_GT(fs::file_size("KVR_fig2.ps"), 0u);
}

TEST(PlotEndToEndTest, WithoutADisplayEveryFigureIsSavedAndTheRunCompletes) {
  ScopedTempDir dir;
  copy_example();
  // The transformed figure is saved after a background change: dark.
  write_file("answers.txt", answers({"s", "c"}, {"b", "s", "c"}, {"s", "c"}));
  const ProgramRun run = run_program("answers.txt", "DISPLAY=");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("\n Normal Termination of Program\n"), std::string::npos) << run.output;
  // One line for each window pass it could not show (the first of each plot, the
  // background change), and every menu.
  EXPECT_EQ(count_of(run.output, kNoWindow), 4) << run.output;
  EXPECT_EQ(count_of(run.output, kMenuPrompt), 7) << run.output;
  for (const std::string& name : result_files()) {
    EXPECT_FALSE(read_file(name).empty()) << name;
  }

  // Every ring is a point of the calendar and of the age panel of a measurement figure, and
  // a point of the upper panel of the chronology figure: one segment fewer per series. The
  // comparison figure, saved with the chronology figure, draws one point per age (the mean,
  // the curve and the series by age) and one per year (the two chronologies and the depth),
  // and there are at least as many years as ages.
  const double series = summary_value(run.output, "Number of series in chronology:");
  const double rings = series * summary_value(run.output, "Average series length:");
  const double ages = summary_value(run.output, "Maximum series length:");
  ASSERT_GT(series, 0.0) << run.output;
  const int segments = static_cast<int>(rings - series + 0.5);
  // Its few lines are mostly coloured, so fewer of its pixels are dark.
  struct Figure {
    const char* file;
    int least_segments;
    double least_dark_share;
  };
  const Figure figures[] = {{"KVR_fig1.ps", 2 * segments, 0.02},
                            {"KVR_fig1b.ps", 2 * segments, 0.02},
                            {"KVR_fig2.ps", segments, 0.02},
                            {"KVRcompare.ps", 6 * static_cast<int>(ages - 1.0), 0.01}};
  for (const Figure& figure : figures) {
    const std::string postscript = read_file(figure.file);
    EXPECT_TRUE(postscript_complete(postscript)) << figure.file;
    EXPECT_GT(lineto_count(postscript), figure.least_segments) << figure.file;
  }

  // Each is saved as PDF and PNG too: one landscape page, and 1600 x 1200 pixels.
  for (const Figure& figure : figures) {
    const std::vector<std::string> files = figure_files(figure.file);
    EXPECT_EQ(png_size(files[2]), std::make_pair(kPngWidth, kPngHeight)) << files[2];
    if (!on_path("pdfinfo")) continue;
    ASSERT_EQ(std::system(("pdfinfo " + files[1] + " > info.txt 2>&1").c_str()), 0) << files[1];
    const std::string info = read_file("info.txt");
    EXPECT_EQ(summary_value(info, "Pages:"), 1.0) << info;
    const std::size_t size = info.find("Page size:");
    ASSERT_NE(size, std::string::npos) << info;
    double width = 0.0;
    double height = 0.0;
    ASSERT_EQ(std::sscanf(info.c_str() + size, "Page size: %lf x %lf", &width, &height), 2) << info;
    EXPECT_GT(width, height) << info;
    EXPECT_EQ(summary_value(info, "Page rot:"), 0.0) << info;
    // The labels are set in a real font, embedded in the file.
    ASSERT_EQ(std::system(("pdffonts " + files[1] + " > fonts.txt 2>&1").c_str()), 0);
    const std::string fonts = read_file("fonts.txt");
    EXPECT_NE(fonts.find("TrueType"), std::string::npos) << fonts;
  }

  if (!on_path("gs")) GTEST_SKIP() << "ghostscript (gs) is not installed: no render check";
  if (!on_path("convert")) GTEST_SKIP() << "ImageMagick is not installed: no render check";
  for (const Figure& figure : figures) {
    const bool dark = std::string(figure.file) == "KVR_fig1b.ps";
    for (const std::string& file : figure_files(figure.file)) {
      const std::optional<PageTones> tones = render_page_tones(file);
      ASSERT_TRUE(tones.has_value()) << file << ": " << read_file("gs.log");
      const double background = dark ? tones->dark : tones->light;
      const double lines = dark ? tones->light : tones->dark;
      // The background fills most of the middle, and lines of the other tone are drawn on it.
      EXPECT_GT(background, 0.6) << file << " dark " << tones->dark << " light " << tones->light;
      EXPECT_GT(lines, figure.least_dark_share)
          << file << " dark " << tones->dark << " light " << tones->light;
      EXPECT_GT(background, 2 * lines) << file;
    }
    // The upper panel's y-axis label stands alone left of the tick labels.
    const std::string png = figure_files(figure.file)[2];
    const std::optional<PageTones> label = render_page_tones(png, PageRegion{0.03, 0.1, 0.08, 0.4});
    ASSERT_TRUE(label.has_value()) << png;
    EXPECT_GT(dark ? label->light : label->dark, 0.01) << png;
  }
}

std::string without_creation_date(const std::string& postscript) {
  std::istringstream lines(postscript);
  std::string kept;
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("%%CreationDate", 0) != 0) kept += line + "\n";
  }
  return kept;
}

TEST(PlotEndToEndTest, WithoutTheCairoDevicesThePostScriptIsSavedAsWithThem) {
  ScopedTempDir dir;
  // A driver folder with PLplot's PostScript driver alone, as in a PLplot built without cairo.
  fs::create_directory("drivers");
  for (const char* name : {"ps.so", "ps.driver_info"}) {
    fs::create_symlink(fs::path(KVR_PLPLOT_DRV_DIR) / name, fs::path("drivers") / name);
  }
  const std::string drivers = (dir.path() / "drivers").string();
  struct Run {
    const char* folder;
    std::string environment;
    ProgramRun result;
  };
  Run runs[] = {{"with", "DISPLAY=", {}}, {"without", "DISPLAY= PLPLOT_DRV_DIR=" + drivers, {}}};
  for (Run& run : runs) {
    fs::create_directory(run.folder);
    fs::current_path(dir.path() / run.folder);
    copy_example();
    write_file("answers.txt", answers({"s", "c"}, {"b", "s", "c"}, {"s", "c"}));
    run.result = run_program("answers.txt", run.environment);
    fs::current_path(dir.path());
    ASSERT_EQ(run.result.exit_status, 0) << run.folder << run.result.output;
    EXPECT_NE(run.result.output.find("\n Normal Termination of Program\n"), std::string::npos)
        << run.result.output;
  }
  EXPECT_EQ(count_of(runs[0].result.output, kNoCairoLine), 0);
  EXPECT_EQ(count_of(runs[1].result.output, kNoCairoLine), 3) << runs[1].result.output;
  for (const char* figure : {"KVR_fig1.ps", "KVR_fig1b.ps", "KVR_fig2.ps", "KVRcompare.ps"}) {
    const std::vector<std::string> files = figure_files(figure);
    const std::string with = read_file(fs::path("with") / figure);
    EXPECT_TRUE(postscript_complete(with)) << figure;
    EXPECT_EQ(without_creation_date(read_file(fs::path("without") / figure)),
              without_creation_date(with))
        << figure;
    EXPECT_TRUE(fs::exists(fs::path("with") / files[1])) << files[1];
    EXPECT_FALSE(fs::exists(fs::path("without") / files[1])) << files[1];
    EXPECT_FALSE(fs::exists(fs::path("without") / files[2])) << files[2];
  }
}

// Plays the user at the plot windows inside xvfb-run: for each action in turn it waits for a
// visible PLplot window, points into it and acts (an xdotool command such as "key Return"),
// then waits until the program shows one more options menu, which it does only after the
// window's page is done with.
constexpr char kUserScript[] = R"sh(program=$1
answers=$2
shift 2
"$program" < "$answers" > run.log 2>&1 &
pid=$!
menus() { grep -o "Enter selection" run.log | wc -l; }
page=0
for action in "$@"; do
  page=$((page + 1))
  before=$(menus)
  window=""
  for i in $(seq 300); do
    window=$(xdotool search --onlyvisible --name PLplot 2> /dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 $pid 2> /dev/null || { echo "page $page: the program ended before its window"; exit 11; }
    sleep 0.1
  done
  [ -n "$window" ] || { echo "page $page: no window appeared"; exit 12; }
  xdotool mousemove --window "$window" 40 40
  xdotool $action
  for i in $(seq 200); do
    [ "$(menus)" -gt "$before" ] && break
    kill -0 $pid 2> /dev/null || { echo "page $page: '$action' ended the program"; exit 13; }
    sleep 0.1
  done
  [ "$(menus)" -gt "$before" ] || { echo "page $page: '$action' left the window up"; exit 14; }
done
i=0
while kill -0 $pid 2> /dev/null; do
  i=$((i + 1))
  [ $i -gt 300 ] && { echo "the program did not end (another window?)"; kill $pid; exit 15; }
  sleep 0.1
done
wait $pid
echo "exit $?" > status
)sh";

TEST(PlotEndToEndTest, WindowsAreDismissedByKeysAndClicksAndTheRunCompletes) {
  if (!on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed: no window test";
  if (!on_path("xdotool")) GTEST_SKIP() << "xdotool is not installed: no window test";
  ScopedTempDir dir;
  copy_example();
  // Windows: the raw plot (Return), its replot (a capital Q, which PLplot's window would take
  // as the order to end the program), the transformed plot (a right click), its dark replot
  // (Return), then a dark save, and the chronology (Return) with a save.
  write_file("answers.txt", answers({"r", "c"}, {"b", "s", "c"}, {"s", "c"}));
  write_file("user.sh", kUserScript);
  // Each window leaks a few bytes inside PLplot's driver loader, which the leak checker of a
  // sanitizer build would report at the end of the run.
  const std::string suppressions = project_file("testdata/lsan.supp").string();
  // Start the search for a free display number away from xvfb-run's default (99) and from
  // other tests running at the same time, so that two servers do not race for one number.
  const int display = 200 + static_cast<int>(::getpid() % 400);
  const std::string command =
      "LSAN_OPTIONS=suppressions='" + suppressions +
      "':print_suppressions=0 timeout 180 xvfb-run -a -n " + std::to_string(display) +
      " -s '-screen 0 1024x768x24' sh user.sh '" + std::string(KVR_BINARY) +
      "' answers.txt 'key Return' 'key shift+q' 'click 3' 'key Return' 'key Return'"
      " > user.log 2>&1";
  const int status = std::system(command.c_str());
  const std::string output = read_file("run.log");
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "user: " << read_file("user.log") << "\nprogram:\n"
                                    << output;
  EXPECT_EQ(read_file("status"), "exit 0\n") << output;
  EXPECT_NE(output.find("\n Normal Termination of Program\n"), std::string::npos) << output;
  EXPECT_EQ(output.find(kNoWindow), std::string::npos) << output;
  EXPECT_EQ(count_of(output, kMenuPrompt), 7) << output;
  for (const std::string& name : result_files()) {
    EXPECT_FALSE(read_file(name).empty()) << name;
  }
  for (const char* name : {"KVR_fig1b.ps", "KVR_fig2.ps"}) {
    EXPECT_TRUE(postscript_complete(read_file(name))) << name;
  }
  EXPECT_FALSE(fs::exists("KVR_fig1.ps"));
}

}  // namespace
}  // namespace kvr::test
