#include "measurements/table_measurements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "decade_columns.h"
#include "decade_reading.h"

namespace kvr {
namespace {

MeasurementReading read_table(FileKind kind, const std::string& text) {
  std::istringstream in(text);
  return read_table_measurements(kind, in);
}

// A row of the value grid, for comparing it whole.
std::vector<float> grid_row(const MeasurementSet& set, int j) {
  return std::vector<float>(set.values.row(j), set.values.row(j) + set.info(j).length);
}

// Each column becomes a series from its first value to its last, in the units of its finest
// decimal place: the grid as the decade reading stores it (0 as 0.001), the measured series
// as the integers times their unit.
TEST(TableMeasurementsTest, ColumnsBecomeTheSeriesOfTheSet) {
  const MeasurementReading r =
      read_table(FileKind::kNoaaTemplate,
                 "# Template Version 4.0\n#   Study_Name: Two columns\n# Missing_Values: NA\n"
                 "## age_CE\tage,,,year Common Era,,tree ring,,,N,\n"
                 "age_CE\tPINE_NORTH_01_raw\tB_raw\n"
                 "1900\tNA\tNA\n1901\t1.25\tNA\n1902\t0\t0.551\n1903\tNA\t0.6\n1904\t2.5\tNA\n");
  ASSERT_TRUE(r.usable) << describe(r.refusal.table);
  EXPECT_EQ(r.kind, FileKind::kNoaaTemplate);
  EXPECT_EQ(r.metadata.study_name, "Two columns");
  EXPECT_TRUE(r.table_warnings.empty());
  const MeasurementSet& set = r.set;
  ASSERT_EQ(set.count(), 2);
  EXPECT_EQ(set.info(1).id, "PINE_NORTH_01");  // whole
  EXPECT_EQ(set.info(2).id, "B       ");       // padded as a decade id
  EXPECT_EQ(set.earliest_first_year, 1901);
  EXPECT_EQ(set.latest_last_year, 1904);
  EXPECT_EQ(set.longest_length, 4);
  EXPECT_EQ(set.time_span, 4);
  EXPECT_EQ(set.info(2).first_year, 1902);
  EXPECT_EQ(set.info(2).last_year, 1903);
  EXPECT_EQ(set.info(2).start_position, 2);
  EXPECT_EQ(grid_row(set, 1), (std::vector<float>{1.25f, 0.001f, kMissing, 2.5f}));
  EXPECT_EQ(grid_row(set, 2), (std::vector<float>{table_value_mm(551, 1000), 0.6f}));

  ASSERT_EQ(r.measured.size(), 2u);
  EXPECT_EQ(r.measured[0].id, "PINE_NORTH_01");
  EXPECT_EQ(r.measured[0].first_year, 1901);
  ASSERT_EQ(r.measured[0].mm.size(), 4u);
  EXPECT_EQ(r.measured[0].mm[0], 125 * 0.01);
  EXPECT_EQ(r.measured[0].mm[1], 0.0);
  EXPECT_TRUE(std::isnan(r.measured[0].mm[2]));
  EXPECT_EQ(r.measured[0].mm[3], 250 * 0.01);
  EXPECT_EQ(r.measured[1].mm, (std::vector<double>{551 * 0.001, 600 * 0.001}));
}

// What the reader refuses comes with its warnings; the set's limits refuse as for decade files.
TEST(TableMeasurementsTest, RefusalsOfTheReaderAndOfTheSet) {
  const MeasurementReading bp =
      read_table(FileKind::kNoaaTemplate,
                 "# Template Version 4.0\n# Time_Unit: BP\ncitation line\nage_CE\tA\n100\t1.2\n");
  EXPECT_FALSE(bp.usable);
  EXPECT_EQ(bp.refusal.kind, Refusal::Kind::kTable);
  EXPECT_EQ(bp.refusal.table.kind, TableRefusalKind::kNotCommonEra);
  ASSERT_EQ(bp.table_warnings.size(), 1u);
  EXPECT_EQ(bp.table_warnings[0].kind, TableWarningKind::kUncommentedLine);

  const MeasurementReading late =
      read_table(FileKind::kColumnTable, "year,A,LATE_SERIES_1\n9998,1,NA\n9999,1,2\n10000,1,3\n");
  EXPECT_FALSE(late.usable);
  EXPECT_EQ(late.refusal.kind, Refusal::Kind::kUnwritableYears);
  EXPECT_EQ(late.refusal.series.id, "A       ");
  EXPECT_EQ(late.refusal.series.last_year, 10000);
  EXPECT_EQ(late.set.count(), 0);
}

// A series of 0.001 mm reaches the analysis alike from its decade file, its NOAA template and
// its column tables: the same grid values, bit for bit, and the integers times 0.001 mm.
TEST(TableMeasurementsTest, ValuesKeepThePrecisionOfTheDecadeFile) {
  std::vector<TrrwSeries> series(2);
  std::vector<std::vector<int>> counts(2);
  for (std::size_t k = 0; k < series.size(); ++k) {
    TrrwSeries& s = series[k];
    s.id = k == 0 ? "XMP01A" : "XMP02B";
    s.first_year = 1801 + 7 * static_cast<int>(k);
    for (int i = 0; i < 240; ++i) {
      // Every last digit, zero rings, and missing values inside the series.
      const int count = i == 17 || i == 150 ? -1 : (i * 7919 + 13 * static_cast<int>(k)) % 9973;
      counts[k].push_back(count);
      s.values.push_back(count < 0 ? kMissing : static_cast<float>(count) * 0.001f);
    }
    s.count = static_cast<int>(s.values.size());
  }
  const std::string decade_text = test::write_decade(WriteMode::kMeasurements, series);
  std::istringstream decade_in(decade_text);
  const std::vector<test::DecadeColumn> columns = test::decade_columns(decade_in);
  const test::TableForm tabs = {"tabs", '\t', false, false, false, false, "NA", false};
  const test::TableForm spreadsheet = {"semicolons", ';', false, false, false, false, "", true};
  const struct {
    const char* what;
    std::string text;
  } forms[] = {
      {"NOAA template",
       "# Template Version 4.0\n# Missing_Values: NA\n" + test::column_table_text(columns, tabs)},
      {"column table of semicolons", test::column_table_text(columns, spreadsheet)},
  };
  const MeasurementReading decade = test::read_measurements(decade_text);
  ASSERT_TRUE(decade.usable);
  for (const auto& form : forms) {
    SCOPED_TRACE(form.what);
    const MeasurementReading table = test::read_measurements(form.text);
    ASSERT_TRUE(table.usable) << describe(table.refusal.table);
    ASSERT_EQ(table.set.count(), decade.set.count());
    EXPECT_EQ(table.set.positions_needed(), decade.set.positions_needed());
    for (int j = 1; j <= decade.set.count(); ++j) {
      EXPECT_EQ(table.set.info(j).id, decade.set.info(j).id);
      EXPECT_EQ(table.set.info(j).first_year, decade.set.info(j).first_year);
      EXPECT_EQ(table.set.info(j).start_position, decade.set.info(j).start_position);
      EXPECT_EQ(grid_row(table.set, j), grid_row(decade.set, j));
      // The double values too, bit for bit: each count times the unit, missing as NaN.
      const std::vector<double>& mm = table.measured[static_cast<std::size_t>(j - 1)].mm;
      const std::vector<double>& want = decade.measured[static_cast<std::size_t>(j - 1)].mm;
      const std::vector<int>& c = counts[static_cast<std::size_t>(j - 1)];
      ASSERT_EQ(mm.size(), c.size());
      ASSERT_EQ(want.size(), c.size());
      for (std::size_t i = 0; i < c.size(); ++i) {
        if (c[i] < 0) {
          EXPECT_TRUE(std::isnan(mm[i]) && std::isnan(want[i])) << i;
        } else {
          EXPECT_EQ(mm[i], want[i]) << i;
          EXPECT_EQ(mm[i], c[i] * 0.001) << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kvr
