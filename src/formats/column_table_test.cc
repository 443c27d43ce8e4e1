#include "formats/column_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "decade_columns.h"
#include "formats/noaa_template.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr {
namespace {

using test::replace_all;

TableReading read_text(const std::string& text) {
  std::istringstream in(text);
  return read_column_table(in);
}

std::string repeated(const std::string& part, int times) {
  std::string text;
  for (int k = 0; k < times; ++k) text += part;
  return text;
}

std::vector<std::string> warnings_of(const TableReading& r) {
  std::vector<std::string> lines;
  for (const TableWarning& w : r.warnings) lines.push_back(describe(w));
  return lines;
}

// The same two series in the forms users export them: A 1901-1903 in 0.01 mm with 1902
// missing, B 1902-1903 in 0.001 mm.
const struct {
  const char* name;
  std::string text;
} kForms[] = {
    {"write.csv, year column", "\"year\",\"A\",\"B\"\n1901,1.25,NA\n1902,NA,2\n1903,0.5,3.125\n"},
    {"write.csv, years as row names",
     "\"\",\"A\",\"B\"\n\"1901\",1.25,NA\n\"1902\",NA,2\n\"1903\",0.5,3.125\n"},
    {"write.csv, row numbers and a year column",
     "\"\",\"year\",\"A\",\"B\"\n\"1\",1901,1.25,NA\n\"2\",1902,NA,2\n\"3\",1903,0.5,3.125\n"},
    {"write.table, tabs, years as row names",
     "\"A\"\t\"B\"\n\"1901\"\t1.25\tNA\n\"1902\"\tNA\t2\n\"1903\"\t0.5\t3.125\n"},
    {"write.table, blanks, years as row names",
     "\"A\" \"B\"\n\"1901\" 1.25 NA\n\"1902\" NA 2\n\"1903\" 0.5 3.125\n"},
    {"write.table, tabs, row numbers and a year column",
     "\"year\"\t\"A\"\t\"B\"\n\"1\"\t1901\t1.25\tNA\n\"2\"\t1902\tNA\t2\n\"3\"\t1903\t0.5\t3."
     "125\n"},
    {"spreadsheet, semicolons and decimal commas",
     "\xEF\xBB\xBFJahr;A;B;\r\n1901;1,25;;\r\n1902;;2;\r\n1903;0,50;3,125;\r\n"},
    {"tabs, a tab after every row",
     "year\tA\tB\n1901\t1.25\t\t\n1902\t\t2\t\n1903\t0.5\t3.125\t\n"},
    {"write.table, tabs, empty missing values, years as row names",
     "\"A\"\t\"B\"\n\"1901\"\t1.25\t\n\"1902\"\t\t2\n\"1903\"\t0.5\t3.125\n"},
    {"tabs, comment lines, an unnamed year column, lone CR line ends",
     "# measured by hand\r\r\tA\tB\r1901\t1.25\t\r1902\t\t2.000\r\r1903\t.5\t3.125"},
};

TEST(ColumnTableTest, ReadsEveryExportedForm) {
  for (const auto& form : kForms) {
    SCOPED_TRACE(form.name);
    EXPECT_TRUE(looks_like_column_table(form.text, true));
    const TableReading r = read_text(form.text);
    ASSERT_FALSE(r.refused()) << describe(r.refusal);
    EXPECT_TRUE(r.warnings.empty()) << warnings_of(r)[0];
    ASSERT_EQ(r.series.size(), 2u);
    EXPECT_EQ(r.series[0].id, "A");
    EXPECT_EQ(r.series[0].first_year, 1901);
    EXPECT_EQ(r.series[0].units_per_mm, 100);
    EXPECT_EQ(r.series[0].counts, (std::vector<std::int32_t>{125, kMissingCount, 50}));
    EXPECT_EQ(r.series[1].id, "B");
    EXPECT_EQ(r.series[1].first_year, 1902);
    EXPECT_EQ(r.series[1].units_per_mm, 1000);
    EXPECT_EQ(r.series[1].counts, (std::vector<std::int32_t>{2000, 3125}));
  }
}

TEST(ColumnTableTest, WarnsOfWhatItMends) {
  const struct {
    std::string text;
    std::vector<std::string> warnings;
  } cases[] = {
      {"year,A\n1901,125\n1902,0\n1903,80\n",
       {" Warning: line 1: every value (2) is a whole number of 20 or more; read as mm, though "
        "they look like counts of 0.01 or 0.001 mm"}},
      {"year,A,A\n1901,-999,x\n1902,1,2\n1903,-7,x\n",
       {" Warning: line 1, series \"A\": column 3 has the name of column 2",
        " Warning: line 2, series \"A\": missing-value codes -999, -7 in 2 values from year "
        "1901, read as missing",
        " Warning: line 2, series \"A\": 2 cells from year 1901 hold no number (\"x\"), read as "
        "missing"}},
      {"year;A;B\n1901;1,2345;NA\n1902;1;-9\n",
       {" Warning: line 1, series \"B\": it holds no values (missing-value code -9 in 1 cell); "
        "left out",
        " Warning: line 2, series \"A\": 1 value from year 1901 is finer than 0.001 mm "
        "(1,2345), rounded to 0.001 mm"}},
  };
  for (const auto& c : cases) {
    const TableReading r = read_text(c.text);
    EXPECT_FALSE(r.refused()) << c.text;
    EXPECT_EQ(warnings_of(r), c.warnings) << c.text;
  }
  EXPECT_EQ(read_text("year,A\n1901,125\n").series[0].counts[0], 12500);
  EXPECT_EQ(read_text("year,A\n1901,1.2345\n").series[0].counts[0], 1235);
}

TEST(ColumnTableTest, RefusesErrorsOfTheTableWithTheLine) {
  const struct {
    std::string text;
    TableRefusalKind kind;
    int line;
  } cases[] = {
      {"year,A\n1902,1\n1901,2\n", TableRefusalKind::kYearBack, 3},
      {"year,A\n1901,1\n\n1901,2\n", TableRefusalKind::kRepeatedYear, 4},
      {"year,A\n1901,1\n1902,1,2\n", TableRefusalKind::kTooManyCells, 3},
      {"year,A,B\n1901,1,2\n1902,1\n", TableRefusalKind::kTooFewCells, 3},
      {"year,A\n1901" + repeated(",1", 400000) + "\n", TableRefusalKind::kTooManyCells, 2},
      {"\"A\" \"B\"\n1901" + repeated(" 1", 400000) + "\n", TableRefusalKind::kTooManyCells, 2},
      // A million cells: more bytes than any row of the program's limits takes.
      {"year,A\n1901" + repeated(",1", 1000000) + "\n", TableRefusalKind::kLineTooLong, 2},
      {"year,A\n19x1,1\n", TableRefusalKind::kYearNotNumber, 2},
      {"year\n1901\n1902\n", TableRefusalKind::kNoSeriesColumn, 1},
      {"year,,B\n1901,1,2\n", TableRefusalKind::kUnnamedColumn, 1},
      {"1901,1.2\n1902,1.3\n", TableRefusalKind::kNoHeader, 1},
      {"# only a comment\n\n", TableRefusalKind::kNoHeader, 2},
      {"year,A\n1901,NA\n", TableRefusalKind::kNoValues, 0},
      {std::string("\x00\x01\xff,\x02\n\x03,\x04\n", 10), TableRefusalKind::kYearNotNumber, 2},
  };
  for (const auto& c : cases) {
    const TableReading r = read_text(c.text);
    EXPECT_EQ(r.refusal.kind, c.kind) << c.text.substr(0, 60);
    EXPECT_EQ(r.refusal.line_number, c.line) << describe(r.refusal);
    EXPECT_TRUE(r.series.empty());
  }
  EXPECT_EQ(describe(read_text("year,A\n1902,1\n1901,2\n").refusal),
            "Line 3 goes back to the year 1901 after the year 1902 of line 2; the rows must "
            "follow the years in order.");
}

TEST(ColumnTableTest, OtherFilesAreNoColumnTables) {
  for (const std::string text : {
           "XMP01A  1901   123   234   999\n",
           "# Template Version 3.0\nage_CE\tA_raw\n1901\t1.2\n",
           "Hello, world\n",
           "year\n1901\n1902\n",
           "1901,1.2\n1902,1.3\n",
           "name,site\nabc,def\n",
       }) {
    EXPECT_FALSE(looks_like_column_table(text, true)) << text;
  }
  // A head cut inside a row is judged on its whole lines.
  EXPECT_TRUE(looks_like_column_table("year,A\n1901,1.2\n1902,1.", false));
  // A row out of order after a good one is the table's error, named by its refusal.
  EXPECT_TRUE(looks_like_column_table("year,A\n1901,1.2\n1900,1.3\n", true));
}

// Series of a decade file written in each exported form and read back: the same values.
TEST(ColumnTableTest, ReadsTablesMadeFromADecadeFileToItsValues) {
  std::ifstream in(test::project_file("examples/example_spruce.rwl"), std::ios::binary);
  const std::vector<test::DecadeColumn> decade = test::decade_columns(in);
  ASSERT_EQ(decade.size(), 30u);
  const test::TableForm forms[] = {
      {"write.csv", ',', true, false, false, false, "NA", false},
      {"write.csv, years as row names", ',', true, true, false, true, "NA", false},
      {"write.csv, row numbers", ',', true, false, true, true, "NA", false},
      {"write.table", ' ', true, true, false, false, "NA", false},
      {"write.table, tabs", '\t', true, true, false, false, "NA", false},
      {"spreadsheet", ';', false, false, false, false, "", true},
  };
  for (const test::TableForm& form : forms) {
    SCOPED_TRACE(form.name);
    const std::string text = test::column_table_text(decade, form);
    EXPECT_TRUE(looks_like_column_table(text.substr(0, 65536), text.size() <= 65536));
    const TableReading r = read_text(text);
    ASSERT_FALSE(r.refused()) << describe(r.refusal);
    ASSERT_EQ(r.series.size(), decade.size());
    for (std::size_t k = 0; k < decade.size(); ++k) {
      EXPECT_EQ(test::difference(decade[k], r.series[k], false), "");
    }
  }
}

// The fuzzing seeds are read or refused with a reason, and stay small.
TEST(ColumnTableTest, FuzzingSeedsReadOrAreRefused) {
  namespace fs = std::filesystem;
  for (const char* harness : {"fuzz_noaa", "fuzz_column_table"}) {
    std::size_t seeds = 0;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(test::project_file(std::string("testdata/fuzz/") + harness))) {
      ++seeds;
      SCOPED_TRACE(entry.path().string());
      EXPECT_LE(entry.file_size(), 4096u);
      std::istringstream in(test::read_file(entry.path()));
      const TableReading r = harness == std::string("fuzz_noaa") ? read_noaa_template(in).table
                                                                 : read_column_table(in);
      EXPECT_EQ(r.series.empty(), r.refused());
      EXPECT_EQ(describe(r.refusal).empty(), !r.refused());
    }
    EXPECT_GT(seeds, 0u) << harness;
  }
}

}  // namespace
}  // namespace kvr
