#include "io/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kvr {
namespace {

std::vector<std::string> all_lines(const std::string& bytes, std::vector<int>* numbers = nullptr) {
  std::istringstream in(bytes);
  LineReader reader(in);
  std::vector<std::string> lines;
  std::string line;
  while (reader.next(&line)) {
    lines.push_back(line);
    if (numbers != nullptr) numbers->push_back(reader.line_number());
  }
  return lines;
}

TEST(LineReaderTest, EveryLineEndReadsLikeLf) {
  const std::vector<std::string> expected = {"first", "", "third"};
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"LF", "first\n\nthird\n"},      {"CR LF", "first\r\n\r\nthird\r\n"},
      {"CR", "first\r\rthird\r"},      {"no final end", "first\n\nthird"},
      {"mixed", "first\r\n\rthird\n"}, {"CR CR LF is an empty line", "first\r\r\nthird"},
  };
  for (const auto& c : cases) {
    std::vector<int> numbers;
    EXPECT_EQ(all_lines(c.bytes, &numbers), expected) << c.name;
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3})) << c.name;
  }
  EXPECT_TRUE(all_lines("").empty());
  EXPECT_EQ(all_lines("\n"), std::vector<std::string>{""});
}

TEST(LineReaderTest, TabsMoveToTheNextMultipleOfEight) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"\tx", std::string(8, ' ') + "x"},
      {"ab\tc", "ab      c"},
      {"1234567\tx", "1234567 x"},
      {"12345678\tx", "12345678        x"},
      {"a\t\tb", "a" + std::string(15, ' ') + "b"},
      {"a\t", "a       "},
  };
  for (const auto& c : cases) EXPECT_EQ(all_lines(c.in + "\r\n"), std::vector<std::string>{c.out});

  // Kept as they stand, for a reader of tab-separated cells; line ends and the byte-order
  // mark read as ever.
  std::istringstream in("\xEF\xBB\xBFyear\tA\r\n1901\t1.5\r");
  LineReader kept(in, LineReader::Tabs::kKeep);
  std::string line;
  ASSERT_TRUE(kept.next(&line));
  EXPECT_EQ(line, "year\tA");
  ASSERT_TRUE(kept.next(&line));
  EXPECT_EQ(line, "1901\t1.5");
  EXPECT_FALSE(kept.next(&line));
}

TEST(LineReaderTest, StepBackReplaysTheLastLine) {
  std::istringstream in("one\ntwo\n");
  LineReader reader(in);
  std::string line;
  reader.step_back();  // nothing read yet: no effect
  ASSERT_TRUE(reader.next(&line));
  EXPECT_EQ(line, "one");
  reader.step_back();
  ASSERT_TRUE(reader.next(&line));
  EXPECT_EQ(line, "one");
  EXPECT_EQ(reader.line_number(), 1);
  ASSERT_TRUE(reader.next(&line));
  EXPECT_EQ(line, "two");
  EXPECT_EQ(reader.line_number(), 2);
  EXPECT_FALSE(reader.next(&line));
  reader.step_back();
  ASSERT_TRUE(reader.next(&line));
  EXPECT_EQ(line, "two");
  EXPECT_FALSE(reader.next(&line));
}

TEST(LineReaderTest, OddBytesAndLongLines) {
  const std::string with_nul = std::string("a\0b", 3);
  EXPECT_EQ(all_lines(with_nul + "\n"), std::vector<std::string>{with_nul});
  // A byte-order mark at the start is dropped; elsewhere, or broken, it stays.
  EXPECT_EQ(all_lines("\xEF\xBB\xBFhead\n\xEF\xBB\xBFx"),
            (std::vector<std::string>{"head", "\xEF\xBB\xBFx"}));
  EXPECT_EQ(all_lines("\xEF\xBBx"), std::vector<std::string>{"\xEF\xBBx"});
  EXPECT_EQ(all_lines("\xEF\xBB\xBF"), std::vector<std::string>{});

  // Line ends and tabs that straddle the reader's 64 KiB blocks.
  for (const std::size_t before : {65535u, 65534u, 65536u}) {
    const std::string head(before, 'x');
    EXPECT_EQ(all_lines(head + "\r\ny\r\n"), (std::vector<std::string>{head, "y"})) << before;
    EXPECT_EQ(all_lines(head + "\r\r\ny"), (std::vector<std::string>{head, "", "y"})) << before;
    EXPECT_EQ(all_lines(head + "\tz").at(0).size(), (before / 8 + 1) * 8 + 1) << before;
  }

  const std::string long_line(100000, '7');
  EXPECT_EQ(all_lines(long_line + "\nnext"), (std::vector<std::string>{long_line, "next"}));
  const std::vector<std::string> capped =
      all_lines(std::string(LineReader::kMaxColumns + 5, 'x') + "\t\nnext");
  ASSERT_EQ(capped.size(), 2u);
  EXPECT_EQ(capped[0].size(), LineReader::kMaxColumns);
  EXPECT_EQ(capped[1], "next");
}

TEST(LineReaderTest, IntegerFields) {
  const struct {
    const char* field;
    bool reads;
    int value;
  } cases[] = {
      {"  12", true, 12}, {"    ", true, 0},  {" 1 2", true, 12},  {"-  5", true, -5},
      {"+7  ", true, 7},  {"  - ", false, 0}, {"1.5 ", false, 0},  {"12a ", false, 0},
      {" 5- ", false, 0}, {"--1 ", false, 0}, {"\t  1", false, 0},
  };
  for (const auto& c : cases) {
    int value = -1;
    EXPECT_EQ(read_int_field(c.field, 1, 4, &value), c.reads) << c.field;
    if (c.reads) {
      EXPECT_EQ(value, c.value) << c.field;
    }
  }
  int value = -1;
  ASSERT_TRUE(read_int_field("ab 42", 3, 9, &value));  // columns past the end are blank
  EXPECT_EQ(value, 42);
  EXPECT_EQ(record_columns("abc", 5), "abc  ");
  EXPECT_EQ(record_columns("abcdef", 3), "abc");
}

}  // namespace
}  // namespace kvr
