#include "plot/plot_loop.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plot_testing.h"

namespace kvr {
namespace {

const Calls kWhite = {"plscol0 0 255 255 255", "plscol0 15 0 0 0", "plscolbg 255 255 255"};
const Calls kDark = {"plscol0 15 255 255 255", "plscol0 0 0 0 0", "plscolbg 0 0 0"};
const Calls kPostScript = {"plsdev \"psc\"", "plsfnam \"KVR_test.ps\""};
const Calls kPdf = {"plsdev \"pdfcairo\"", "plsfnam \"KVR_test.pdf\""};
const Calls kPng = {"plsdev \"pngcairo\"", "plsfnam \"KVR_test.png\"", "plspage 0 0 1600 1200 0 0"};
const Calls kWindow = {"plsdev \"xwin\""};
const std::vector<std::string> kFigureFiles = {"KVR_test.ps", "KVR_test.pdf", "KVR_test.png"};

// One pass: the device calls, the colours, then the frame around the page (marked "pladv 7").
Calls pass(const Calls& device, const Calls& colours) {
  Calls calls = device;
  calls.insert(calls.end(), colours.begin(), colours.end());
  for (const char* call : {"plinit", "plcol0 15", "plssub 1 2", "pladv 7", "plend"}) {
    calls.emplace_back(call);
  }
  return calls;
}

// A save: the same page through the PostScript, PDF and PNG devices.
Calls save(const Calls& colours) {
  return join({pass(kPostScript, colours), pass(kPdf, colours), pass(kPng, colours)});
}

const char kMenu[] =
    "\n"
    " |*************** plot options menu ***************|\n"
    " |-------------------------------------------------|\n"
    " | [s]ave <[c]ontinue> [r]eplot change<b>ackground |\n"
    " |_________________________________________________|\n"
    "\n"
    "  Enter selection s, <c>, r, or b > ";

struct LoopRun {
  Answer answer;
  Calls calls;
  std::string screen;
  std::vector<std::string> files;
};

LoopRun run(const std::string& input, bool window = true, const std::set<std::string>& refused = {},
            const std::set<std::string>& missing_devices = {}) {
  RecordedPlot plot(input, window);
  for (const std::string& device : missing_devices) plot.plotter.set_device_missing(device);
  plot.files.failing = refused;
  const Answer answer = run_plot_loop(plot.context, "KVR_test.ps", [](Plotter& p) { p.pladv(7); });
  SCOPED_TRACE(input);
  return LoopRun{answer, plot.checked_calls(), plot.out.str(), plot.files.opened};
}

std::string menus(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += kMenu;
  return text;
}

TEST(PlotLoopTest, AnswersByTheirFirstCharacter) {
  const Calls window_white = pass(kWindow, kWhite);
  const Calls window_dark = pass(kWindow, kDark);
  const Calls file_white = save(kWhite);
  const Calls file_dark = save(kDark);
  const std::vector<std::string> twice = join({kFigureFiles, kFigureFiles});
  struct Case {
    const char* input;
    Calls calls;
    int menus;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"c\n", window_white, 1, {}},
      {"C\n", window_white, 1, {}},
      {"x\n", window_white, 1, {}},
      {"\n", window_white, 1, {}},    // an empty line continues
      {" s\n", window_white, 1, {}},  // leading blanks are not skipped
      {"s\nc\n", join({window_white, file_white}), 2, kFigureFiles},
      {"S\nc\n", join({window_white, file_white}), 2, kFigureFiles},
      {"sx\nc\n", join({window_white, file_white}), 2, kFigureFiles},
      // A second save writes the same page again.
      {"s\ns\nc\n", join({window_white, file_white, file_white}), 3, twice},
      {"r\nc\n", join({window_white, window_white}), 2, {}},
      {"Replot\nc\n", join({window_white, window_white}), 2, {}},
      {"b\nc\n", join({window_white, window_dark}), 2, {}},
      {"B\nc\n", join({window_white, window_dark}), 2, {}},
      // Twice gives the white background again.
      {"b\nb\nc\n", join({window_white, window_dark, window_white}), 3, {}},
      // The background stays dark for the save after it, and for a replot after that.
      {"b\ns\nr\nc\n", join({window_white, window_dark, file_dark, window_dark}), 4, kFigureFiles},
      // A save, then back to the window.
      {"s\nr\nc\n", join({window_white, file_white, window_white}), 3, kFigureFiles},
  };
  for (const Case& c : cases) {
    const LoopRun r = run(c.input);
    EXPECT_EQ(r.answer, Answer::kOk) << c.input;
    EXPECT_EQ(r.calls, c.calls) << c.input;
    EXPECT_EQ(r.screen, menus(c.menus)) << c.input;
    EXPECT_EQ(r.files, c.files) << c.input;
  }
}

TEST(PlotLoopTest, EndOfInputAtTheMenuIsReported) {
  for (const char* input : {"", "s\n", "b\nr\n"}) {
    const LoopRun r = run(input);
    EXPECT_EQ(r.answer, Answer::kEndOfInput) << input;
  }
  // A last line without a line end is still an answer.
  EXPECT_EQ(run("s").answer, Answer::kEndOfInput);
  EXPECT_EQ(run("c").answer, Answer::kOk);
}

TEST(PlotLoopTest, WithoutAWindowTheMenuStillSavesAndContinues) {
  const std::string no_window = std::string(kNoWindowLine) + "\n";
  struct Case {
    const char* input;
    Calls calls;
    std::string screen;
  };
  const Case cases[] = {
      {"c\n", {}, no_window + kMenu},
      {"s\nc\n", save(kWhite), no_window + kMenu + kMenu},
      // Each window pass is skipped with its line; the background still changes.
      {"b\ns\nr\nc\n", save(kDark),
       no_window + kMenu + no_window + kMenu + kMenu + no_window + kMenu},
  };
  for (const Case& c : cases) {
    const LoopRun r = run(c.input, /*window=*/false);
    EXPECT_EQ(r.answer, Answer::kOk) << c.input;
    EXPECT_EQ(r.calls, c.calls) << c.input;
    EXPECT_EQ(r.screen, c.screen) << c.input;
  }
}

TEST(PlotLoopTest, AFileThatCannotBeCreatedIsReportedAndTheOthersAreWritten) {
  auto refused = [](const std::string& name) {
    return " The file " + name + " cannot be created: Permission denied\n";
  };
  struct Case {
    std::set<std::string> refused;
    Calls saves;  // the passes of the save
  };
  // No pass for a refused file: PLplot would end the program when it cannot open it.
  const Case cases[] = {
      {{"KVR_test.ps"}, join({pass(kPdf, kDark), pass(kPng, kDark)})},
      {{"KVR_test.pdf"}, join({pass(kPostScript, kDark), pass(kPng, kDark)})},
      {{"KVR_test.png"}, join({pass(kPostScript, kDark), pass(kPdf, kDark)})},
      {{"KVR_test.ps", "KVR_test.pdf", "KVR_test.png"}, {}},
  };
  for (const Case& c : cases) {
    const LoopRun r = run("b\ns\nc\n", /*window=*/true, c.refused);
    EXPECT_EQ(r.answer, Answer::kOk);
    EXPECT_EQ(r.calls, join({pass(kWindow, kWhite), pass(kWindow, kDark), c.saves}));
    std::string lines;
    for (const std::string& name : kFigureFiles) {
      if (c.refused.count(name) != 0) lines += refused(name);
    }
    EXPECT_EQ(r.screen, menus(2) + lines + kMenu) << lines;
  }
}

TEST(PlotLoopTest, WithoutTheCairoDevicesOnlyThePostScriptIsSaved) {
  const std::string no_cairo = std::string(kNoCairoLine) + "\n";
  for (const char* missing : {"pdfcairo", "pngcairo"}) {
    const LoopRun r = run("s\ns\nc\n", /*window=*/true, {}, {missing});
    EXPECT_EQ(r.answer, Answer::kOk);
    // Neither device is asked for: PLplot would read the device from standard input.
    EXPECT_EQ(r.calls,
              join({pass(kWindow, kWhite), pass(kPostScript, kWhite), pass(kPostScript, kWhite)}))
        << missing;
    EXPECT_EQ(r.screen, kMenu + no_cairo + kMenu + no_cairo + kMenu) << missing;
    EXPECT_EQ(r.files, (std::vector<std::string>{"KVR_test.ps", "KVR_test.ps"})) << missing;
  }
  // A PostScript file that cannot be created is still reported, before the missing devices.
  const LoopRun r = run("s\nc\n", /*window=*/true, {"KVR_test.ps"}, {"pdfcairo", "pngcairo"});
  EXPECT_EQ(r.calls, pass(kWindow, kWhite));
  EXPECT_EQ(r.screen, kMenu + std::string(" The file KVR_test.ps cannot be created: ") +
                          "Permission denied\n" + no_cairo + kMenu);
}

// A page saved with the one on screen is never shown; each save writes it after that page,
// into its own files, and without the cairo devices says so once.
TEST(PlotLoopTest, APageSavedWithTheShownOneGoesToItsOwnFiles) {
  const Calls kPostScript2 = {"plsdev \"psc\"", "plsfnam \"KVR_more.ps\""};
  const Calls kPdf2 = {"plsdev \"pdfcairo\"", "plsfnam \"KVR_more.pdf\""};
  const Calls kPng2 = {"plsdev \"pngcairo\"", "plsfnam \"KVR_more.png\"",
                       "plspage 0 0 1600 1200 0 0"};
  auto more = [](Calls calls) {
    for (std::string& call : calls) {
      if (call == "pladv 7") call = "pladv 8";
    }
    return calls;
  };
  const SavedPage saved[] = {{"KVR_more.ps", [](Plotter& p) { p.pladv(8); }}};
  struct Case {
    std::set<std::string> missing_devices;
    Calls calls;
    std::string screen;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {{},
       join({pass(kWindow, kWhite), save(kWhite), more(pass(kPostScript2, kWhite)),
             more(pass(kPdf2, kWhite)), more(pass(kPng2, kWhite)), pass(kWindow, kWhite)}),
       menus(3),
       join({kFigureFiles, {"KVR_more.ps", "KVR_more.pdf", "KVR_more.png"}})},
      {{"pngcairo"},
       join({pass(kWindow, kWhite), pass(kPostScript, kWhite), more(pass(kPostScript2, kWhite)),
             pass(kWindow, kWhite)}),
       kMenu + std::string(kNoCairoLine) + "\n" + menus(2),
       {"KVR_test.ps", "KVR_more.ps"}},
  };
  for (const Case& c : cases) {
    RecordedPlot plot("s\nr\nc\n");
    for (const std::string& device : c.missing_devices) plot.plotter.set_device_missing(device);
    EXPECT_EQ(run_plot_loop(
                  plot.context, "KVR_test.ps", [](Plotter& p) { p.pladv(7); }, saved),
              Answer::kOk);
    EXPECT_EQ(plot.checked_calls(), c.calls);
    EXPECT_EQ(plot.out.str(), c.screen);
    EXPECT_EQ(plot.files.opened, c.files);
  }
}

}  // namespace
}  // namespace kvr
