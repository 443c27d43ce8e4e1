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
       "\n The input file holds no tree-ring series. Program terminating.\n"},
      {"header lines, a warning, a refusal",
       "Site header line\nA       1908   100  -999\nA       1910   999\nB      -9000   100   999\n",
       false,
       "\n title of data:\n " + std::string("Site header line") + std::string(64, ' ') +
           "\n Warning: line 2, series \"A\": missing-value code -999 in 1 value from year 1909, "
           "read as missing\n"
           " The series span 10910 years, from series \"B\" (-9000 to -9000) to series \"A\" "
           "(1908 to 1909); the limit is 10001 years. Program terminating.\n"},
      {"a clean file", "A       1908   100   999\n", true, ""},
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
