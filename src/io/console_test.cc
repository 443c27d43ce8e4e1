#include "io/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kvr {
namespace {

// A console reading `text`, its screen kept apart.
struct ConsoleOnText {
  explicit ConsoleOnText(const std::string& text) : in(text), console(in, out) {}
  std::istringstream in;
  std::ostringstream out;
  Console console;
};

// What `read` (one of the console's reads into a string) gives, call after call, up to the end
// of the input, which must be the only thing that stops it.
template <typename Read>
std::vector<std::string> read_all(const std::string& text, Read read) {
  ConsoleOnText c(text);
  std::vector<std::string> taken;
  std::string s;
  Answer answer;
  while ((answer = (c.console.*read)(&s)) == Answer::kOk) taken.push_back(s);
  EXPECT_EQ(answer, Answer::kEndOfInput) << text;
  return taken;
}

using Strings = std::vector<std::string>;

struct ItemCase {
  std::string input;
  std::string item;
};

TEST(ConsoleTest, ReadsFreeFormItems) {
  const std::vector<ItemCase> cases = {
      {"oak.rwl\n", "oak.rwl"},
      {"  \toak.rwl  trailing words\n", "oak.rwl"},
      {"my file.rwl\n", "my"},
      {"a,b\n", "a"},
      {"dir/file\n", "dir"},
      {"a\tb\n", "a"},
      {"'my file.rwl'\n", "my file.rwl"},
      {"\"a,b/c d\"\n", "a,b/c d"},
      {"'it''s'\n", "it's"},
      {"\"say \"\"hi\"\"\"\n", "say \"hi\""},
      {"'unterminated quote\n", "unterminated quote"},
      {"\n   \n\t\nlate\n", "late"},  // lines without any item are skipped
      {",rest\n", ""},                // a null item is the empty answer
      {"  /\n", ""},
      {"crlf\r\n", "crlf"},
      {"cr\rnext\r", "cr"},
      {"no line end", "no"},
  };
  for (const ItemCase& c : cases) {
    const Strings items = read_all(c.input, &Console::read_item);
    ASSERT_FALSE(items.empty()) << c.input;
    EXPECT_EQ(items.front(), c.item) << c.input;
  }
}

TEST(ConsoleTest, EachAnswerStartsOnANewLine) {
  EXPECT_EQ(read_all("first second\n\r\n\nthird\n", &Console::read_item),
            (Strings{"first", "third"}));
}

TEST(ConsoleTest, EndOfInputNeverHangs) {
  ConsoleOnText c("  \n\n\t\n");
  Console& console = c.console;
  std::string item;
  EXPECT_EQ(console.read_item(&item), Answer::kEndOfInput);
  bool yes = true;
  EXPECT_EQ(console.read_yes_no(&yes), Answer::kEndOfInput);
  int value = 0;
  EXPECT_EQ(console.read_int(&value), Answer::kEndOfInput);
  EXPECT_EQ(console.pause(), Answer::kEndOfInput);
  EXPECT_EQ(console.read_line(&item), Answer::kEndOfInput);
}

TEST(ConsoleTest, YesNoTakesTheFirstCharacter) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"y", true},  {"Y", true},   {"yes", true}, {"Yes", true}, {"'y es'", true}, {"n", false},
      {"x", false}, {"no", false}, {",", false},  {"ny", false}, {"1", false},     {"\"Y\"", true},
  };
  for (const auto& [answer, expected] : cases) {
    ConsoleOnText c(answer + "\n");
    bool yes = !expected;
    ASSERT_EQ(c.console.read_yes_no(&yes), Answer::kOk) << answer;
    EXPECT_EQ(yes, expected) << answer;
  }
}

TEST(ConsoleTest, IntegersAreASignAndDigits) {
  const std::vector<std::pair<std::string, int>> valid = {
      {"1", 1},
      {"+2", 2},
      {"-7", -7},
      {"  0042", 42},
      {"1850,", 1850},
      {"'12'", 12},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
  };
  for (const auto& [answer, expected] : valid) {
    ConsoleOnText c(answer + "\n");
    int value = 0;
    ASSERT_EQ(c.console.read_int(&value), Answer::kOk) << answer;
    EXPECT_EQ(value, expected) << answer;
  }
  for (const char* answer :
       {"3.5", "1e2", "abc", "12a", "+", "-", ",", "2147483648", "0x10", "--1"}) {
    ConsoleOnText c(std::string(answer) + "\n");
    int value = 99;
    EXPECT_EQ(c.console.read_int(&value), Answer::kInvalid) << answer;
    EXPECT_EQ(value, 99) << answer;
  }
}

TEST(ConsoleTest, ReadLineKeepsTheLineAsTyped) {
  EXPECT_EQ(read_all(" s\n\nReplot\r\n", &Console::read_line), (Strings{" s", "", "Replot"}));
}

// Every line taken is recorded as read, skipped ones too, each with an LF end; lines not yet
// taken are not.
TEST(ConsoleTest, RecordsEveryLineTakenWithLfEnds) {
  ConsoleOnText c("\r\n  \n\t'oak.rwl'  x\r\ny\rs \r\n,\r\r\n12\nlast");
  Console& console = c.console;
  std::string item, line;
  bool yes = false;
  int value = 0;
  ASSERT_EQ(console.pause(), Answer::kOk);
  ASSERT_EQ(console.read_item(&item), Answer::kOk);
  ASSERT_EQ(console.read_yes_no(&yes), Answer::kOk);
  ASSERT_EQ(console.read_line(&line), Answer::kOk);
  ASSERT_EQ(console.read_item(&item), Answer::kOk);
  EXPECT_EQ(console.lines_read(), "\n  \n\t'oak.rwl'  x\ny\ns \n,\n");
  ASSERT_EQ(console.read_int(&value), Answer::kOk);
  ASSERT_EQ(console.read_item(&item), Answer::kOk);
  EXPECT_EQ(console.read_line(&line), Answer::kEndOfInput);
  EXPECT_EQ(console.lines_read(), "\n  \n\t'oak.rwl'  x\ny\ns \n,\n\n12\nlast\n");
}

TEST(ConsoleTest, PromptStaysOnTheLine) {
  ConsoleOnText c("");
  c.console.prompt(" Enter input file name :> ");
  c.console.line(" done");
  EXPECT_EQ(c.out.str(), " Enter input file name :>  done\n");
}

}  // namespace
}  // namespace kvr
