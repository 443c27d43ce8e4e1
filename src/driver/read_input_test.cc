#include "driver/read_input.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace kvr {
namespace {

// The screen of reading `bytes`, after the file name's prompt.
std::string screen_of(const std::string& bytes, bool* goes_on) {
  std::istringstream in(bytes);
  std::istringstream no_answers;
  std::ostringstream screen;
  Console console(no_answers, screen);
  *goes_on = show_reading(console, read_measurement_file(in));
  return screen.str();
}

// The file name is typed behind the prompt: the first line of the reading starts a line of
// its own, unless the echo of the header lines did; the echo comes first, the warnings next,
// and a refusal last.
TEST(ReadInputTest, TheReadingStartsOnANewLine) {
  const struct {
    const char* what;
    std::string file;
    bool goes_on;
    std::string screen;
  } cases[] = {
      {"a warning without header lines", "A       1908   100  -999\nA       1910   999\n", true,
       "\n Warning: line 1, series \"A\": missing-value code -999 in 1 value from year 1909, "
       "read as missing\n"},
      {"a refusal without header lines", "", false,
       "\n The input file holds no tree-ring series: expected decade-format records of "
       "measurements, a NOAA template file, or a column table of a year and one value per series. "
       "Program terminating.\n"},
      {"header lines, a warning, a refusal",
       "Site header line\nA       1908   100  -999\nA       1910   999\nB      -9000   100   999\n",
       false,
       "\n title of data:\n " + std::string("Site header line") + std::string(64, ' ') +
           "\n Warning: line 2, series \"A\": missing-value code -999 in 1 value from year 1909, "
           "read as missing\n"
           " The series span 10910 years, from series \"B\" (-9000 to -9000) to series \"A\" "
           "(1908 to 1909); the limit is 10001 years. Program terminating.\n"},
      {"a clean file", "A       1908   100   999\n", true, ""},
      {"a NOAA template: the title of its data, then the reader's warnings",
       "# Template Version 4.0\n#   Study_Name: Hill study\n#   Site_Name: Hill\n"
       "#   Northernmost_Latitude: 1.5\n#   Southernmost_Latitude: 1.5\ncitation\n"
       "age_CE\tA_raw\n1901\t1.2\n1902\t-888\n1903\t1.3\n",
       true,
       "\n title of data:\n Study: Hill study\n Site: Hill; latitude 1.5\n"
       " Warning: line 6: a header line without its '#' (\"citation\"); passed over\n"
       " Warning: line 9, series \"A\": missing-value code -888 in 1 value from year 1902, read "
       "as missing\n"},
      {"a column table refused with the line", "year,A\n1901,1.2\n1901,1.3\n", false,
       "\n Line 3 repeats the year 1901 of line 2. Program terminating.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    bool goes_on = !c.goes_on;
    EXPECT_EQ(screen_of(c.file, &goes_on), c.screen);
    EXPECT_EQ(goes_on, c.goes_on);
  }
}

}  // namespace
}  // namespace kvr
