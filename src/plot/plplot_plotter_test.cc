#include "plot/plplot_plotter.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "io/file_system.h"
#include "plot/chronology_plot.h"
#include "plot/plot_loop.h"
#include "plot/plotmeas.h"
#include "plot/plplot_fonts.h"
#include "test_support.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;
using test::ScopedTempDir;

// Sets (or, with nullopt, removes) an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A plotted set: five series of 60 to 120 years with a wave in them.
MeasurementSet wave_set() {
  MeasurementSet set;
  for (int j = 0; j < 5; ++j) {
    const int first = 1850 + 10 * j;
    const int length = 120 - 15 * j;
    set.series.push_back(SeriesInfo{"w", first, first + length - 1, length, first - 1850 + 1});
  }
  set.earliest_first_year = 1850;
  set.latest_last_year = 1969;
  set.longest_length = 120;
  set.time_span = 120;
  set.values.reset(5, 120, kMissing);
  for (int j = 1; j <= 5; ++j) {
    for (int t = 1; t <= set.info(j).length; ++t) {
      set.values(j, t) = 1.2f + 0.8f * static_cast<float>(std::sin(0.3 * (t + 7 * j)));
    }
  }
  return set;
}

struct Session {
  Answer answer;
  std::string screen;
};

enum class Page { kRaw, kTransformed, kChronology, kBlank };

// One plot call with the real PLplot, answering `input` at the menus.
Session plot(Page page, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Console console(in, out);
  PlplotPlotter plotter;
  DiskFileSystem files;
  PlotContext context{console, plotter, files};
  const MeasurementSet set = wave_set();
  Session session{Answer::kOk, ""};
  switch (page) {
    case Page::kRaw:
    case Page::kTransformed:
      session.answer =
          plotmeas(context, set, page == Page::kRaw ? kPlotRaw : kPlotTransformed, "w");
      break;
    case Page::kChronology: {
      std::vector<float> mean(120), upper(120), lower(120);
      std::vector<int> count(120, 3);
      for (std::size_t y = 0; y < 120; ++y) {
        mean[y] = 1.0f + 0.3f * static_cast<float>(std::sin(0.2 * static_cast<double>(y)));
        upper[y] = mean[y] + 0.2f;
        lower[y] = mean[y] - 0.2f;
      }
      session.answer = plot_chronology(context, set, set.values, "w", kPlotRaw,
                                       ChronologyColumns{mean, upper, lower, count, 1.0f});
      break;
    }
    case Page::kBlank:
      session.answer = run_plot_loop(context, "blank.ps", [](Plotter&) {});
      break;
  }
  session.screen = out.str();
  return session;
}

class PlplotPlotterTest : public ::testing::Test {
 protected:
  // No display: the window passes are skipped, as on a machine without X.
  ScopedEnv display_{"DISPLAY", std::nullopt};
  ScopedEnv fonts_{"PLPLOT_LIB", std::string(KVR_PLPLOT_LIB)};
  ScopedTempDir dir_;
};

TEST(PlplotFontsTest, FontFolderIsSetUnlessTheUserChoseOne) {
  {
    ScopedEnv unset("PLPLOT_LIB", std::nullopt);
    EXPECT_EQ(set_up_plplot_fonts(), KVR_PLPLOT_LIB);
    EXPECT_STREQ(std::getenv("PLPLOT_LIB"), KVR_PLPLOT_LIB);
  }
  for (const char* empty_or_chosen : {"", "/opt/fonts"}) {
    ScopedEnv chosen("PLPLOT_LIB", std::string(empty_or_chosen));
    const std::string in_force = *empty_or_chosen == '\0' ? KVR_PLPLOT_LIB : empty_or_chosen;
    EXPECT_EQ(set_up_plplot_fonts(), in_force);
    EXPECT_STREQ(std::getenv("PLPLOT_LIB"), in_force.c_str());
  }
}

TEST_F(PlplotPlotterTest, ProbesTheDisplayAndTheDevices) {
  PlplotPlotter plotter;
  EXPECT_TRUE(plotter.device_installed("psc"));
  EXPECT_TRUE(plotter.device_installed("xwin")) << "plplot-driver-xwin is missing";
  for (const char* cairo : {"pdfcairo", "pngcairo"}) {
    EXPECT_TRUE(plotter.device_installed(cairo)) << "plplot-driver-cairo is missing";
  }
  EXPECT_FALSE(plotter.device_installed("win3"));
  EXPECT_FALSE(plotter.device_installed(""));
  EXPECT_FALSE(plotter.window_available());  // DISPLAY unset
  ScopedEnv stale("DISPLAY", ":4711");       // no server there
  EXPECT_FALSE(plotter.window_available());
}

TEST_F(PlplotPlotterTest, SavedPagesAreCompleteAndDrawn) {
  // A page with the frame and nothing on it, for comparison.
  ASSERT_EQ(plot(Page::kBlank, "s\nc\n").answer, Answer::kOk);
  const int blank = test::lineto_count(test::read_file("blank.ps"));
  struct Case {
    Page page;
    const char* file;
  };
  const Case cases[] = {{Page::kRaw, "KVR_fig1.ps"},
                        {Page::kTransformed, "KVR_fig1b.ps"},
                        {Page::kChronology, "KVR_fig2.ps"}};
  for (const Case& c : cases) {
    const Session session = plot(c.page, "s\nc\n");
    EXPECT_EQ(session.answer, Answer::kOk) << c.file;
    // The window pass was skipped with one line, and the menu came twice.
    EXPECT_EQ(session.screen.find(kNoWindowLine), 0u) << c.file;
    EXPECT_EQ(session.screen.find(kNoWindowLine, 1), std::string::npos) << c.file;
    const std::string postscript = test::read_file(c.file);
    EXPECT_TRUE(test::postscript_complete(postscript)) << c.file;
    // Five series, two running means and the depth and chronology lines: hundreds of
    // segments more than the empty frame.
    EXPECT_GT(test::lineto_count(postscript), blank + 300) << c.file << " blank " << blank;
  }
}

TEST_F(PlplotPlotterTest, ADarkSaveIsDarkAndAWhiteOneWhite) {
  if (!test::on_path("gs")) GTEST_SKIP() << "ghostscript (gs) is not installed";
  ASSERT_EQ(plot(Page::kChronology, "s\nc\n").answer, Answer::kOk);
  const std::optional<test::PageTones> white = test::render_page_tones("KVR_fig2.ps");
  ASSERT_TRUE(white.has_value()) << test::read_file("gs.log");
  // The background change applies to the window pass that is skipped and to the save after.
  ASSERT_EQ(plot(Page::kChronology, "b\ns\nc\n").answer, Answer::kOk);
  const std::optional<test::PageTones> dark = test::render_page_tones("KVR_fig2.ps");
  ASSERT_TRUE(dark.has_value()) << test::read_file("gs.log");
  EXPECT_GT(white->light, 0.9);
  EXPECT_GT(dark->dark, 0.9);
  // The lines are drawn in both: neither middle is all one colour.
  EXPECT_LT(white->light, 1.0);
  EXPECT_LT(dark->dark, 1.0);
}

TEST_F(PlplotPlotterTest, AFileThatCannotBeCreatedEndsNothing) {
  fs::create_directory("KVR_fig1.ps");  // PLplot cannot open a folder as its file
  const Session session = plot(Page::kRaw, "s\nc\n");
  EXPECT_EQ(session.answer, Answer::kOk);
  EXPECT_NE(session.screen.find(" The file KVR_fig1.ps cannot be created: "), std::string::npos)
      << session.screen;
  // The PDF and PNG are still written, and a PNG that cannot be created leaves the others.
  EXPECT_GT(fs::file_size("KVR_fig1.pdf"), 0u);
  EXPECT_GT(fs::file_size("KVR_fig1.png"), 0u);
  fs::create_directory("KVR_fig2.png");
  const Session chronology = plot(Page::kChronology, "s\nc\n");
  EXPECT_EQ(chronology.answer, Answer::kOk);
  EXPECT_NE(chronology.screen.find(" The file KVR_fig2.png cannot be created: "), std::string::npos)
      << chronology.screen;
  EXPECT_TRUE(test::postscript_complete(test::read_file("KVR_fig2.ps")));
  EXPECT_EQ(test::read_file("KVR_fig2.pdf").rfind("%PDF-", 0), 0u);
}

TEST_F(PlplotPlotterTest, UnsafeInitsAreSkippedInsteadOfAskingOnStandardInput) {
  struct Case {
    const char* device;  // nullptr: none set
    const char* file_name;
    const char* report;
  };
  const Case cases[] = {
      {nullptr, nullptr, " Plot skipped: no PLplot device was chosen\n"},
      {"win3", nullptr, " Plot skipped: the PLplot device is not installed\n"},
      {"psc", nullptr, " Plot skipped: no file name was given\n"},
      {"pdfcairo", nullptr, " Plot skipped: no file name was given\n"},
      {"pngcairo", nullptr, " Plot skipped: no file name was given\n"},
      // Installed, but it would open a window of its own.
      {"xcairo", "x.ps", " Plot skipped: the PLplot device is not one this program draws on\n"},
      {"xwin", nullptr, " Plot skipped: no display can be opened\n"},
  };
  for (const Case& c : cases) {
    PlplotPlotter plotter;
    if (c.device != nullptr) plotter.plsdev(c.device);
    if (c.file_name != nullptr) plotter.plsfnam(c.file_name);
    ::testing::internal::CaptureStderr();
    plotter.plinit();
    // Drawing without an initialised PLplot does nothing.
    plotter.plcol0(15);
    plotter.pladv(0);
    const float x[2] = {0.0f, 1.0f};
    plotter.plline(2, x, x);
    plotter.plend();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.report);
  }
  // A file name left from a skipped page does not reach the next one.
  PlplotPlotter plotter;
  plotter.plsfnam("left_over.ps");
  ::testing::internal::CaptureStderr();
  plotter.plinit();
  plotter.plend();
  plotter.plsdev("psc");
  plotter.plinit();
  plotter.plend();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            " Plot skipped: no PLplot device was chosen\n"
            " Plot skipped: no file name was given\n");
  EXPECT_FALSE(fs::exists("left_over.ps"));
}

// The window path: the test binary runs DISABLED_TwoWindowPages under xvfb-run while a shell
// script plays the user with xdotool. The page of the first window pass must survive a bare
// Shift and be dismissed, without ending the program, by a capital Q; the dark replot that
// follows is dismissed by a left click.
TEST(PlplotWindowTest, KeysAndClicksDismissThePageAndNothingEndsTheProgram) {
  if (!test::on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed: no window test";
  if (!test::on_path("xdotool")) GTEST_SKIP() << "xdotool is not installed: no window test";
  ScopedTempDir dir;
  ScopedEnv fonts("PLPLOT_LIB", std::string(KVR_PLPLOT_LIB));
  const fs::path self = fs::read_symlink("/proc/self/exe");
  // The window driver's loader leaks a few bytes per page, outside this program.
  std::ofstream("lsan.supp") << "leak:libltdl.so\nleak:libX11.so\n";
  std::ofstream("user.sh") << R"(
status=$PWD/status
KVR_PLOT_WINDOW_STATUS=$status LSAN_OPTIONS=suppressions=$PWD/lsan.supp \
  "$1" --gtest_also_run_disabled_tests --gtest_filter=PlplotWindowChild.DISABLED_TwoWindowPages \
  > child.log 2>&1 &
child=$!
wait_for() {
  i=0
  until grep -q "$1" "$status" 2>/dev/null; do
    kill -0 $child 2>/dev/null || return 1
    i=$((i + 1)); [ $i -gt 300 ] && return 1
    sleep 0.1
  done
}
window() { timeout 20 xdotool search --sync --onlyvisible --name PLplot | head -n 1; }
wait_for "page 1" || { echo "no first page"; exit 11; }
w=$(window); [ -n "$w" ] || { echo "no first window"; exit 12; }
xdotool mousemove --window "$w" 30 30
xdotool key shift
sleep 1
kill -0 $child || { echo "the program ended at a bare Shift"; exit 13; }
grep -q "page 2" "$status" && { echo "a bare Shift dismissed the page"; exit 14; }
xdotool key shift+q
wait_for "page 2" || { echo "Q ended the program or left the page up"; exit 15; }
w=$(window); [ -n "$w" ] || { echo "no second window"; exit 16; }
xdotool mousemove --window "$w" 60 60 click 1
wait $child
)";
  const std::string command = "timeout 120 xvfb-run -a -s '-screen 0 800x600x24' sh user.sh '" +
                              self.string() + "' > user.log 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "script: " << test::read_file("user.log") << "\nprogram: " << test::read_file("child.log");
  EXPECT_EQ(test::read_file("status"), "page 1\npage 2\ndone\n") << test::read_file("child.log");
}

// Runs only inside the window test above (under xvfb-run, with KVR_PLOT_WINDOW_STATUS set).
TEST(PlplotWindowChild, DISABLED_TwoWindowPages) {
  const char* status_file = std::getenv("KVR_PLOT_WINDOW_STATUS");
  ASSERT_NE(status_file, nullptr);
  std::ofstream status(status_file);
  PlplotPlotter plotter;
  ASSERT_TRUE(plotter.window_available());
  std::istringstream in("b\nc\n");
  std::ostringstream out;
  Console console(in, out);
  DiskFileSystem files;
  PlotContext context{console, plotter, files};
  int pages = 0;
  const Answer answer = run_plot_loop(context, "unused.ps", [&](Plotter& p) {
    p.pladv(0);
    p.plvpor(0.12, 0.9, 0.2, 0.85);
    p.plwind(0.0, 10.0, 0.0, 10.0);
    p.plaxes(0.0, 0.0, "abinst", 2.0, 1, "abinstv", 2.0, 1);
    const float x[3] = {1.0f, 5.0f, 9.0f};
    const float y[3] = {2.0f, 8.0f, 4.0f};
    p.plline(3, x, y);
    // plend waits in the window next; the script acts once it reads this.
    status << "page " << ++pages << std::endl;
  });
  EXPECT_EQ(answer, Answer::kOk);
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(out.str().find(kNoWindowLine), std::string::npos);
  status << "done" << std::endl;
}

}  // namespace
}  // namespace kvr
