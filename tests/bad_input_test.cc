// Runs the real program on damaged and unusual measurement files. Each one gives either a
// complete analysis or a clear message and a non-zero exit status; none crashes, hangs, draws
// a sanitizer report or changes the input file. The small files live in testdata/bad/ (its
// README says what each one holds); the big ones are made here.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "answers.h"
#include "decade_reading.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

// No display, so the plots go straight to their menus; `timeout` ends a run that hangs
// (status 124) instead of the test.
constexpr char kEnvironment[] = "DISPLAY= timeout -k 5 120";
constexpr int kHung = 124;

constexpr char kNormalEnd[] = " Normal Termination of Program";
constexpr char kNoSeries[] =
    " The input file holds no tree-ring series: expected decade-format records of measurements, a "
    "NOAA template file, or a column table of a year and one value per series. Program "
    "terminating.";
const std::vector<std::string> kResultFiles = {"KVRmodeled.raw", "KVRmodeled.crn",
                                               "KVRchron_KNMI.txt"};

std::string corpus(const std::string& name) {
  const std::filesystem::path path = project_file("testdata/bad/" + name);
  EXPECT_TRUE(std::filesystem::exists(path)) << path;
  return read_file(path);
}

// One series through the program's own decade writer (0.001 mm, -9999 end marker).
std::string decade_series(const std::string& id, int first_year, int length, int seed) {
  TrrwSeries series;
  series.id = id;
  series.first_year = first_year;
  series.count = length;
  for (int i = 0; i < length; ++i) {
    series.values.push_back(0.2f + static_cast<float>((i * 53 + seed * 37) % 400) * 0.005f);
  }
  return write_decade(WriteMode::kMeasurements, series);
}

std::string many_series(int count) {
  std::string file = "MANY01 1 Many short series\n";
  for (int j = 1; j <= count; ++j) {
    const std::string number = std::to_string(j);
    file += decade_series("M" + std::string(4 - number.size(), '0') + number, 1901, 12, j);
  }
  return file;
}

struct Outcome {
  ProgramRun run;
  bool input_unchanged = false;
};

// Writes `bytes` (unless null) as `name` in the current folder and runs the program on it.
Outcome run_on(const std::string& name, const std::string* bytes, int class_size,
               bool long_road = false) {
  if (bytes != nullptr) write_file(name, *bytes);
  // The plain road: no plots, no power transformation, age aligned, the first class the RAC;
  // the long road: every plot saved, the power transformation, calendar aligned.
  const Answers answers =
      long_road ? saved_plots_answers(name, true, 2, Answers().fixed_classes(class_size, 1))
                : plain_answers(name, 1, class_size, 1);
  write_file("answers.txt", answers.text());
  Outcome outcome;
  outcome.run = run_program("answers.txt", kEnvironment);
  outcome.input_unchanged = bytes == nullptr || read_file(name) == *bytes;
  return outcome;
}

bool has_sanitizer_report(const std::string& output) {
  return contains(output, "Sanitizer") || contains(output, "runtime error:");
}

struct BadCase {
  std::string name;   // the input file name typed
  std::string bytes;  // its content
  int status;         // expected exit status: 0 a complete analysis, 1 refused
  // Texts the screen must hold, in this order; " Warning" lines must come before the summary.
  std::vector<std::string> texts;
  int warnings = 0;  // the number of " Warning:" lines of the reading, exactly
  int class_size = 10;
};

// The checks every case gets: its status and texts, nothing more than its warnings, no
// sanitizer report, the input untouched, and either the whole analysis or none of it. A
// file that is analysed also goes the long road, through every plot and the power
// transformation.
void check_case(const BadCase& c) {
  SCOPED_TRACE(c.name);
  ScopedTempDir dir;
  const Outcome outcome = run_on(c.name, &c.bytes, c.class_size);
  const std::string& screen = outcome.run.output;
  ASSERT_NE(outcome.run.exit_status, kHung) << "the run hung\n" << screen;
  EXPECT_EQ(outcome.run.exit_status, c.status) << screen;
  EXPECT_FALSE(has_sanitizer_report(screen)) << screen;
  EXPECT_TRUE(outcome.input_unchanged);

  const std::size_t summary = screen.find("  ******************************************");
  std::size_t from = 0;
  for (const std::string& text : c.texts) {
    const std::size_t at = screen.find(text, from);
    ASSERT_NE(at, std::string::npos) << "missing or out of order: [" << text << "]\n" << screen;
    if (text.rfind(" Warning:", 0) == 0 && summary != std::string::npos) {
      EXPECT_LT(at, summary) << "after the summary: " << text;
    }
    from = at + text.size();
  }
  // The reading report: the warnings before the summary (later steps may warn about what
  // they write).
  EXPECT_EQ(count_of(screen.substr(0, summary), "\n Warning:"), c.warnings) << screen;

  if (c.status == 0) {
    EXPECT_EQ(count_of(screen, std::string("\n") + kNormalEnd + "\n"), 1) << screen;
    EXPECT_FALSE(read_file(c.name + "_KVR.txt").empty());
    for (const std::string& file : kResultFiles) EXPECT_FALSE(read_file(file).empty()) << file;

    const Outcome long_road = run_on(c.name, &c.bytes, c.class_size, true);
    EXPECT_EQ(long_road.run.exit_status, 0) << long_road.run.output;
    EXPECT_TRUE(contains(long_road.run.output, kNormalEnd));
    EXPECT_FALSE(has_sanitizer_report(long_road.run.output)) << long_road.run.output;
    EXPECT_TRUE(long_road.input_unchanged);
    for (const char* figure : {"KVR_fig1.ps", "KVR_fig1b.ps", "KVR_fig2.ps"}) {
      EXPECT_FALSE(read_file(figure).empty()) << figure;
    }
  } else {
    EXPECT_FALSE(contains(screen, kNormalEnd)) << screen;
    for (const std::string& file : kResultFiles) EXPECT_FALSE(std::filesystem::exists(file));
  }
}

TEST(BadInputTest, OddButReadableFilesAreAnalysed) {
  // The first header line of 100,000 characters is echoed as its 80 columns.
  std::string long_header = corpus("clean.rwl");
  long_header.replace(0, long_header.find('\n'), std::string(100000, 'X'));
  const std::vector<BadCase> cases = {
      // A NUL in a field turns the series' first record into a text record: it is echoed
      // (NUL as '?') among the header lines, and the series starts with its second record.
      {"nul_bytes.rwl",
       corpus("nul_bytes.rwl"),
       0,
       {"\n BAD001 3 written by?hand", "\n BAD01   1901    61    98???135   172",
        "Time span of chronology:  1905 to 1945", "Number of rings:                    90"}},
      {"long_header.rwl", long_header, 0, {"\n title of data:\n " + std::string(80, 'X') + "\n"}},
      // Seven digits in a six-column field spill into the next fields, the last beyond the
      // record's nine slots, and do not split into them: the columns are read as they stand,
      // with warnings.
      {"wide_value.rwl",
       corpus("wide_value.rwl"),
       0,
       {" Warning: line 4, series \"BAD01\": the record's year 1901 leaves it 9 slots to the end "
        "of its decade; the values after them were not read\n",
        " Warning: line 4, series \"BAD01\": the values are not right-aligned in their columns "
        "and do not split into the record's slots; read from the columns as they stand\n",
        "Number of rings:                    90"},
       2},
      // Spilling over the end marker hides it: the next series' record ends the series.
      {"wide_before_end_marker.rwl",
       corpus("wide_before_end_marker.rwl"),
       0,
       {" Warning: line 8, series \"BAD01\": the values are not right-aligned in their columns "
        "and do not split into the record's slots; read from the columns as they stand\n",
        " Warning: line 9, series \"BAD01\": the record of \"BAD02\" (1905) follows without an "
        "end marker; the series ends at 1947, in 0.01 mm, as 2 other series of the file\n",
        "Number of series in chronology:      3"},
       2},
      // The summary cannot show a year of six columns: it prints its sqc record instead.
      {"year_minus_99999.rwl",
       corpus("year_minus_99999.rwl"),
       0,
       {"\n **********    4*****    1  BAD001       \n error reading sqc)\n"}},
      {"duplicate_ids.rwl",
       corpus("duplicate_ids.rwl"),
       0,
       {" Warning: line 14, series \"BAD02\": the id of series 2 (line 9) again\n"},
       1},
      {"decade_out_of_order.rwl",
       corpus("decade_out_of_order.rwl"),
       0,
       {" Warning: line 6, series \"BAD01\": the record's year 1930 leaves the years 1920 to "
        "1929 without values, read as missing\n",
        " Warning: line 7, series \"BAD01\": the record's year 1920 goes back to years already "
        "read (line 6 reached 1939); the series ends before it, in 0.01 mm, as 3 other series "
        "of the file, and the record starts a new series\n",
        " Warning: line 8, series \"BAD01\": the record's year 1940 leaves the years 1930 to "
        "1939 without values, read as missing\n",
        " Warning: line 7, series \"BAD01\": the id of series 1 (line 4) again\n"},
       4},
      {"decade_missing.rwl",
       corpus("decade_missing.rwl"),
       0,
       {" Warning: line 6, series \"BAD01\": the record's year 1930 leaves the years 1920 to "
        "1929 without values, read as missing\n",
        "Time span of chronology:  1901 to 1945"},
       1},
      {"minus_999_in_series.rwl",
       corpus("minus_999_in_series.rwl"),
       0,
       {" Warning: line 4, series \"BAD01\": missing-value code -999 in 1 value from year "
        "1903, read as missing\n"},
       1},
      // Without header lines nothing is echoed before the first warning, which still starts
      // a line of its own after the file name's prompt.
      {"no_header_lines.rwl",
       "BAD01   1908   100  -999\nBAD01   1910   120   130   999\n",
       0,
       {" Enter input file name :> \n Warning: line 1, series \"BAD01\": missing-value code "
        "-999 in 1 value from year 1909, read as missing\n"},
       1},
      {"filler_9990_in_series.rwl",
       corpus("filler_9990_in_series.rwl"),
       0,
       {" Warning: line 10, series \"BAD02\": filler value 9990 in year 1912 of a measurement "
        "series, kept as read\n"},
       1},
      // A series that the file ends inside keeps its values, in the units of the others.
      {"cut_in_record.rwl",
       corpus("cut_in_record.rwl"),
       0,
       {" Warning: line 14, series \"BAD03\": the file ends inside the series, before its end "
        "marker; the series ends at 1911, in 0.01 mm, as 2 other series of the file\n",
        "Number of series in chronology:      3"},
       1},
      {"cut_only_series.rwl",
       corpus("cut_only_series.rwl"),
       0,
       {" Warning: line 4, series \"BAD01\": the file ends inside the series, before its end "
        "marker; the series ends at 1903, in 0.01 mm (no other series of the file has an end "
        "marker)\n",
        "Number of rings:                     3"},
       1,
       1},
      {"series_without_values.rwl",
       corpus("series_without_values.rwl"),
       0,
       {" Warning: line 9, series \"BAD09\": it holds no values\n"},
       1},
      // A table of columns is read as one: its ids are its column names, the years its rows
      // leave out are missing.
      {"column_table.rwl",
       corpus("column_table.rwl"),
       0,
       {" Enter input file name :> \n  ******", "Time span of chronology:  1901 to 1905",
        "Missing values within series:        2"}},
  };
  for (const BadCase& c : cases) check_case(c);
}

TEST(BadInputTest, UnusableFilesEndWithAMessage) {
  const std::vector<BadCase> cases = {
      {"binary_garbage.rwl", corpus("binary_garbage.rwl"), 1, {"\n title of data:\n", kNoSeries}},
      {"nul_only.rwl",
       corpus("nul_only.rwl"),
       1,
       {"\n " + std::string(80, '?') + "\n " + std::string(80, '?') + "\n", kNoSeries}},
      {"empty.rwl", "", 1, {kNoSeries}},
      {"headers_only.rwl", corpus("headers_only.rwl"), 1, {" BAD001 3 written by hand", kNoSeries}},
      {"text_lines_26.rwl",
       corpus("text_lines_26.rwl"),
       1,
       {" Text line 25 of the header", "\n sbr trrw:  over 25 text lines\n"}},
      {"chronology.rwl",
       corpus("chronology.rwl"),
       1,
       {" Enter input file name :> \n The input file holds a chronology (index records with "
        "sample depth), not tree-ring measurements. Program terminating.\n"}},
  };
  for (const BadCase& c : cases) check_case(c);
}

// `series` without its end marker, as if the last record had lost it.
std::string without_end_marker(std::string series) {
  series.replace(series.rfind(" -9999"), 6, "      ");
  return series;
}

TEST(BadInputTest, LimitsAreEnforcedWithTheSeriesNamed) {
  const std::string header = "LIMIT1 1 Limits\n";
  const std::vector<BadCase> cases = {
      {"values_10002.rwl",
       header + decade_series("LONG01", -5000, 10002, 1),
       1,
       {" Series \"LONG01\" (-5000 to 5001) holds 10002 values; the limit is 10001 values per "
        "series. Program terminating."}},
      {"values_10001.rwl",
       header + decade_series("LONG01", -5000, 10001, 1),
       0,
       {"Time span of chronology: -5000 to 5000"},
       0,
       100},
      // A lost end marker no longer runs two series into one too long: the next series'
      // record ends it, and it takes the units of the other series.
      {"lost_end_marker.rwl",
       header + without_end_marker(decade_series("LOST01", 1, 6000, 1)) +
           decade_series("NEXT01", 1, 5000, 2),
       0,
       {" Warning: line 603, series \"LOST01\": the record of \"NEXT01\" (1) follows without "
        "an end marker; the series ends at 6000, in 0.001 mm, as 1 other series of the file\n",
        "Time span of chronology:     1 to 6000"},
       1,
       100},
      {"series_1002.rwl",
       many_series(1002),
       1,
       {" The file holds more than 1001 series, the limit; series 1002 is \"M1002\" (1901 to "
        "1912). Program terminating."}},
      {"series_1001.rwl", many_series(1001), 0, {"Number of series in chronology:   1001"}},
      {"years_minus_99999_and_1905.rwl",
       corpus("years_minus_99999_and_1905.rwl"),
       1,
       {" The series span 101942 years, from series \"BAD001\" (-99999 to -99996) to series "
        "\"BAD02\" (1905 to 1942); the limit is 10001 years. Program terminating."}},
      // 99999 does not fit the year's four columns: its first digit is read as the id's last
      // character and the year as 9999, whose first record takes one value. The rest of that
      // record, its end marker included, is not read (both named), and the next series'
      // record ends the series.
      {"year_99999.rwl",
       corpus("year_99999.rwl"),
       0,
       {" Warning: line 4, series \"BAD01  9\": the record's year 9999 leaves it 1 slot to the "
        "end of its decade; the values after it were not read\n",
        " Warning: line 5, series \"BAD01  9\": the record of \"BAD02\" (1905) follows without "
        "an end marker; the series ends at 9999, in 0.01 mm, as 1 other series of the file\n",
        "Time span of chronology:  1905 to 9999"},
       2,
       100},
  };
  for (const BadCase& c : cases) check_case(c);
}

TEST(BadInputTest, MissingInputOrAFolderIsRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* name;
    bool make_folder;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"no_such_file.rwl", false,
       " Cannot open the input file no_such_file.rwl: No such file or directory. Program "
       "terminating."},
      {"a_folder.rwl", true,
       " Cannot open the input file a_folder.rwl: it is a directory. Program terminating."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir dir;
    if (c.make_folder) std::filesystem::create_directory(c.name);
    const Outcome outcome = run_on(c.name, nullptr, 10);
    EXPECT_EQ(outcome.run.exit_status, 1) << outcome.run.output;
    EXPECT_TRUE(contains(outcome.run.output, c.message)) << outcome.run.output;
    EXPECT_FALSE(has_sanitizer_report(outcome.run.output));
    EXPECT_FALSE(std::filesystem::exists(std::string(c.name) + "_KVR.txt"));
    EXPECT_EQ(std::filesystem::is_directory(c.name), c.make_folder);
  }
}

// A result file of an earlier run given as the input, or a result-file name that links to
// the input: the run would replace its own input, so it is refused before anything is opened
// for writing.
TEST(BadInputTest, AnInputThatTheRunWouldOverwriteIsRefused) {
  struct Case {
    std::string input;
    std::string link;  // made to point at the input, unless empty
    bool hard_link;
    std::string written;  // the result file that is the input
  };
  const std::vector<Case> cases = {
      {"KVRmodeled.raw", "", false, "KVRmodeled.raw"},
      {"clean.rwl", "clean.rwl_KVR.txt", false, "clean.rwl_KVR.txt"},
      {"clean.rwl", "KVRmodeled.crn", true, "KVRmodeled.crn"},
      // The answers file is not written either: it would replace the input.
      {"KVRanswers.txt", "", false, "KVRanswers.txt"},
      {"clean.rwl", "KVRanswers.txt", false, "KVRanswers.txt"},
      {"clean.rwl", "KVR_fig2.png", false, "KVR_fig2.png"},
      {"KVRseries.txt", "", false, "KVRseries.txt"},
      {"clean.rwl", "KVRrcs.txt", false, "KVRrcs.txt"},
      {"clean.rwl", "KVRcompare.pdf", true, "KVRcompare.pdf"},
  };
  const std::string bytes = corpus("clean.rwl");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input + " " + c.link);
    ScopedTempDir dir;
    write_file(c.input, bytes);
    if (c.hard_link) {
      std::filesystem::create_hard_link(c.input, c.link);
    } else if (!c.link.empty()) {
      std::filesystem::create_symlink(c.input, c.link);
    }
    const Outcome outcome = run_on(c.input, &bytes, 10);
    EXPECT_EQ(outcome.run.exit_status, 1) << outcome.run.output;
    EXPECT_TRUE(contains(outcome.run.output, " The input file " + c.input + " is the file " +
                                                 c.written +
                                                 " that the run writes; copy it to another name "
                                                 "first. Program terminating."))
        << outcome.run.output;
    EXPECT_TRUE(outcome.input_unchanged);
  }
}

// Every file that a run leaves, without the lines naming the input file.
std::string results_without_names(const std::string& input) {
  std::string all = read_file(input + "_KVR.txt");
  for (const std::string& file : kResultFiles) {
    const std::string bytes = read_file(file);
    all += "== " + file + "\n" + bytes.substr(bytes.find('\n') + 1);
  }
  return all;
}

TEST(BadInputTest, ByteOrderMarkTabsLongLinesAndLineEndsReadLikeTheCleanFile) {
  const std::string clean = corpus("clean.rwl");
  // The first data record followed by blanks up to 100,000 characters.
  std::string long_record = clean;
  const std::size_t record = long_record.find("\nBAD01 ") + 1;
  const std::size_t record_end = long_record.find('\n', record);
  long_record.insert(record_end, std::string(100000 - (record_end - record), ' '));

  const std::vector<std::pair<std::string, std::string>> variants = {
      {"byte_order_mark.rwl", corpus("byte_order_mark.rwl")},
      {"tabs.rwl", corpus("tabs.rwl")},
      {"long_record.rwl", long_record},
      {"crlf.rwl", replace_all(clean, "\n", "\r\n")},
      {"cr.rwl", replace_all(clean, "\n", "\r")},
  };
  std::string want_screen;
  std::string want_results;
  {
    ScopedTempDir dir;
    const Outcome outcome = run_on("clean.rwl", &clean, 10);
    ASSERT_EQ(outcome.run.exit_status, 0) << outcome.run.output;
    ASSERT_FALSE(contains(outcome.run.output, " Warning")) << outcome.run.output;
    want_screen = outcome.run.output;
    want_results = results_without_names("clean.rwl");
  }
  for (const auto& [name, bytes] : variants) {
    SCOPED_TRACE(name);
    ScopedTempDir dir;
    const Outcome outcome = run_on(name, &bytes, 10);
    EXPECT_EQ(outcome.run.exit_status, 0);
    EXPECT_TRUE(outcome.input_unchanged);
    EXPECT_EQ(replace_all(outcome.run.output, name, "clean.rwl"), want_screen);
    EXPECT_EQ(results_without_names(name), want_results);
  }
}

}  // namespace
}  // namespace kvr::test
