#include "formats/table_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvr {
namespace {

TEST(TableCellsTest, ValuesAreExactIntegersOfTheirFinestPlace) {
  const struct {
    const char* text;
    CellKind kind;
    std::int32_t thousandths;
    int places;
  } cases[] = {
      {"3.38", CellKind::kValue, 3380, 2},
      {"3.4", CellKind::kValue, 3400, 1},
      {"0.545", CellKind::kValue, 545, 3},
      {"3.380", CellKind::kValue, 3380, 2},  // a zero after the last digit is no place
      {" +12 ", CellKind::kValue, 12000, 0},
      {"-0.00", CellKind::kValue, 0, 0},  // a ring of 0
      {"2.5E1", CellKind::kValue, 25000, 0},
      {"1,25", CellKind::kValue, 1250, 2},  // with decimal commas
      {"999999.999", CellKind::kValue, 999999999, 3},
      // Finer than 0.001 mm: rounded half up at the third place; places tell it.
      {"1.2345", CellKind::kValue, 1235, 4},
      {"1.23449", CellKind::kValue, 1234, 5},
      {"0.0005", CellKind::kValue, 1, 4},
      {"1e-04", CellKind::kValue, 0, 4},
      {"-999", CellKind::kCode, 0, 0},
      {"-0.5", CellKind::kCode, 0, 0},
      {"", CellKind::kEmpty, 0, 0},
      {"nan", CellKind::kEmpty, 0, 0},
      {"NA", CellKind::kEmpty, 0, 0},
      {"1.2.3", CellKind::kNoNumber, 0, 0},
      {"x", CellKind::kNoNumber, 0, 0},
      {"1e999", CellKind::kNoNumber, 0, 0},
      {"1000000", CellKind::kNoNumber, 0, 0},  // no ring is a metre wide
      {"12345678901234567890", CellKind::kNoNumber, 0, 0},
  };
  CellRules rules;
  rules.decimal_comma = true;
  for (const auto& c : cases) {
    CellValue value;
    ASSERT_EQ(read_value_cell(c.text, rules, &value), c.kind) << c.text;
    if (c.kind != CellKind::kValue) continue;
    EXPECT_EQ(value.thousandths, c.thousandths) << c.text;
    EXPECT_EQ(value.places, c.places) << c.text;
  }
  CellValue value;
  EXPECT_EQ(read_value_cell("1,25", CellRules{}, &value), CellKind::kNoNumber);
  EXPECT_EQ(read_value_cell(".", CellRules{false, {"."}}, &value), CellKind::kEmpty);
}

TEST(TableCellsTest, SplitsAtTheSeparatorOutsideQuotes) {
  const struct {
    const char* line;
    std::vector<std::string> cells;
    std::size_t filled;
  } cases[] = {
      {"\"\", \"1901\" ,1.25,NA", {"", "1901", "1.25", "NA"}, 4},
      {"a,\"b,c\",", {"a", "b,c", ""}, 2},
      {"\"a\"\"b\",\"open,end", {"a\"\"b", "open,end"}, 2},
      {"\"x\"y,z", {"\"x\"y", "z"}, 2},  // text after the quote: the cell as it stands
  };
  Cells cells;
  for (const auto& c : cases) {
    split_cells(c.line, ',', 10, &cells);
    EXPECT_EQ(std::vector<std::string>(cells.cells.begin(), cells.cells.end()), c.cells) << c.line;
    EXPECT_EQ(cells.filled, c.filled) << c.line;
  }
  // Past the cap the cells are only counted.
  split_cells("1,2,3,,", ',', 2, &cells);
  EXPECT_EQ(cells.cells.size(), 2u);
  EXPECT_EQ(cells.total, 5u);
  EXPECT_EQ(cells.filled, 3u);
  EXPECT_EQ(cell_name("a\"\"b"), "a\"b");
  EXPECT_EQ(header_separator("\"a;b\",\"c\""), ',');
  EXPECT_EQ(header_separator("year\tA;B,C"), '\t');
  EXPECT_EQ(header_separator(" \"A\" \"B\""), ' ');
  EXPECT_EQ(header_separator("A B"), 0);
}

}  // namespace
}  // namespace kvr
