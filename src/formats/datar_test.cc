#include "formats/datar.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"

namespace kvr {
namespace {

TEST(DatarTest, FormatTexts) {
  const struct {
    const char* text;
    bool parses;
    std::size_t reals;
    int width;
    int decimals;
    int skipped;  // columns skipped by X items
  } cases[] = {
      {"(10f8.3)", true, 10, 8, 3, 0},     {"(8F10.4)", true, 8, 10, 4, 0},
      {" (5e14.6)", true, 5, 14, 6, 0},    {"(2X,4F6.2)", true, 4, 6, 2, 2},
      {"(3G12.4E2)", true, 3, 12, 4, 0},   {"(F8)", true, 1, 8, 0, 0},
      {"(10 f 8.3) x", true, 10, 8, 3, 0}, {"(D9.2,x)", true, 1, 9, 2, 1},
      {"10f8.3", false, 0, 0, 0, 0},       {"()", false, 0, 0, 0, 0},
      {"(10i8)", false, 0, 0, 0, 0},       {"(f)", false, 0, 0, 0, 0},
      {"(3x)", false, 0, 0, 0, 0},         {"(0f8.3)", false, 0, 0, 0, 0},
      {"(f8.3,)", false, 0, 0, 0, 0},      {"a(f8.3)", false, 0, 0, 0, 0},
      {"(f0.1)", false, 0, 0, 0, 0},       {"(10f8.)", false, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    std::vector<FormatItem> items;
    ASSERT_EQ(parse_free_format(c.text, &items), c.parses) << c.text;
    if (!c.parses) continue;
    std::size_t reals = 0;
    int skipped = 0;
    for (const FormatItem& item : items) {
      if (item.kind == FormatItem::Kind::kSkip) {
        skipped += item.width;
        continue;
      }
      ++reals;
      EXPECT_EQ(item.width, c.width) << c.text;
      EXPECT_EQ(item.decimals, c.decimals) << c.text;
    }
    EXPECT_EQ(reals, c.reals) << c.text;
    EXPECT_EQ(skipped, c.skipped) << c.text;
  }
}

TEST(DatarTest, RealFields) {
  const struct {
    const char* field;
    int decimals;
    bool reads;
    float value;
  } cases[] = {
      {"   1.234", 3, true, 1.234f}, {"    1234", 3, true, 1.234f},  {"    1234", 0, true, 1234.0f},
      {"        ", 3, true, 0.0f},   {"  -0.125", 3, true, -0.125f}, {"    -125", 3, true, -0.125f},
      {"  1.5E+2", 3, true, 150.0f}, {"  1.5d-1", 3, true, 0.15f},   {"   15E-1", 1, true, 0.15f},
      {"  1.0+01", 3, true, 10.0f},  {"  1 2.5 ", 3, true, 12.5f},   {"  +0.001", 3, true, 0.001f},
      {"00000.10", 3, true, 0.1f},   {"      0.", 3, true, 0.0f},    {"     .5 ", 3, true, 0.5f},
      {"    abc ", 3, false, 0.0f},  {"     1.2.", 3, false, 0.0f},  {"       -", 3, false, 0.0f},
      {"       .", 3, false, 0.0f},  {"   1.5E ", 3, false, 0.0f},   {"     NaN", 3, false, 0.0f},
      {"  1.0e99", 3, false, 0.0f},  {"   E5   ", 3, false, 0.0f},   {"  1,5   ", 3, false, 0.0f},
  };
  for (const auto& c : cases) {
    float v = -7.0f;
    ASSERT_EQ(read_real_field(c.field, c.decimals, &v), c.reads) << c.field;
    if (c.reads) {
      EXPECT_EQ(v, c.value) << c.field;
    }
  }
}

struct DatarRun : FreeFormatSeries {
  std::string next_line;  // the line after the series
};

DatarRun run_datar(const std::string& bytes, int max_length = 100) {
  std::istringstream in(bytes);
  LineReader lines(in);
  DatarRun r;
  static_cast<FreeFormatSeries&>(r) = datar(lines, max_length, "");
  if (!lines.next(&r.next_line)) r.next_line = "<end>";
  return r;
}

TEST(DatarTest, SeriesAndFailures) {
  const std::string title = "FREE0002 a title line without numbers                        #\n";
  const std::string count_line = "n        5      1901  (3F6.2)\n";
  const std::string rest = "ABC001  1901   100   999\n";

  const DatarRun ok = run_datar(title + count_line + "  1.00   250  3.5\n  4.00  5.00\n" + rest);
  EXPECT_EQ(ok.status, DatarStatus::kSeries);
  EXPECT_EQ(ok.id_line.substr(0, 8), "FREE0002");
  EXPECT_EQ(ok.id_line.size(), 80u);
  EXPECT_EQ(ok.count, 5);
  EXPECT_EQ(ok.first_year, 1901);
  EXPECT_EQ(ok.values, (std::vector<float>{1.0f, 2.5f, 3.5f, 4.0f, 5.0f}));
  EXPECT_EQ(ok.next_line, "ABC001  1901   100   999");

  // A short line reads as padded with blanks: the missing fields are 0.
  const DatarRun short_line = run_datar(title + count_line + "  1.00\n  4.00  5.00\n");
  EXPECT_EQ(short_line.values, (std::vector<float>{1.0f, 0.0f, 0.0f, 4.0f, 5.0f}));

  // A count line that does not begin with "n  " is the buffer the id comes from.
  const DatarRun own =
      run_datar("ID       5      1901  (3F6.2)\n  1.00  2.00  3.00\n  4.00  5.00\n");
  EXPECT_EQ(own.status, DatarStatus::kSeries);
  EXPECT_EQ(own.id_line.substr(0, 8), "ID      ");

  const DatarRun bad = run_datar(title + count_line + "  1.00  x.50  3.5\n" + rest);
  EXPECT_EQ(bad.status, DatarStatus::kReadError);
  EXPECT_EQ(bad.count, 5);
  EXPECT_EQ(bad.values, (std::vector<float>{1.0f, kMissing, kMissing, kMissing, kMissing}));

  const DatarRun cut = run_datar(title + count_line + "  1.00   250  3.5\n");
  EXPECT_EQ(cut.status, DatarStatus::kUnexpectedEnd);
  EXPECT_EQ(cut.count, 5);
  EXPECT_EQ(cut.values, (std::vector<float>{1.0f, 2.5f, 3.5f, kMissing, kMissing}));

  const DatarRun none = run_datar(title + "no count line here\n");
  EXPECT_EQ(none.status, DatarStatus::kEndOfFile);
  EXPECT_EQ(none.count, 0);
  EXPECT_EQ(none.id_line.substr(0, 18), "no count line here");

  const DatarRun negative = run_datar(title + "n       -5      1901  (3F6.2)\n" + rest);
  EXPECT_EQ(negative.status, DatarStatus::kReadError);
  EXPECT_EQ(negative.count, 0);
  EXPECT_TRUE(negative.values.empty());

  // More values than the limit: all are read, the first max_length kept.
  const DatarRun capped =
      run_datar(title + count_line + "  1.00   250  3.5\n  4.00  5.00\n" + rest, 2);
  EXPECT_EQ(capped.status, DatarStatus::kSeries);
  EXPECT_EQ(capped.count, 5);
  EXPECT_EQ(capped.values, (std::vector<float>{1.0f, 2.5f}));
  EXPECT_EQ(capped.next_line, "ABC001  1901   100   999");
}

}  // namespace
}  // namespace kvr
