// The series report and the RCS chronology of twelve archive files against the figures of the
// field's common R package for them: within 1e-6 x max(|figure|, 1), p-values within 1e-4 of
// themselves. Skips when the archive folder is absent.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "decade_reading.h"
#include "statistics/rcs_chronology.h"
#include "statistics/regional_curve.h"
#include "statistics/series_report.h"
#include "test_support.h"

namespace kvr::test {
namespace {

// A tab-separated table with a header line; an absent file has no rows.
struct Table {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;

  [[nodiscard]] std::size_t column(const std::string& name) const {
    const auto at = std::find(columns.begin(), columns.end(), name);
    EXPECT_NE(at, columns.end()) << name;
    return static_cast<std::size_t>(at - columns.begin());
  }
};

std::vector<std::string> split_tabs(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

Table read_table(const std::string& name) {
  Table table;
  std::ifstream in(archive_file("../reference/" + name));
  std::string line;
  if (!std::getline(in, line)) return table;
  table.columns = split_tabs(line);
  while (std::getline(in, line)) table.rows.push_back(split_tabs(line));
  return table;
}

// The largest deviation met in one table, as a share of the tolerance's scale.
struct Worst {
  double deviation = 0.0;
  std::string where;
};

// Checks `actual` against the reference figure `expected` ("NA" for none).
void expect_figure(const std::string& expected, double actual, bool p_value,
                   const std::string& where, Worst* worst) {
  if (expected == "NA") {
    EXPECT_TRUE(std::isnan(actual)) << where << ": " << actual << " where the reference has NA";
    return;
  }
  const double figure = std::strtod(expected.c_str(), nullptr);
  const double scale = p_value ? std::fabs(figure) : std::max(std::fabs(figure), 1.0);
  const double deviation = std::fabs(actual - figure) / scale;
  EXPECT_LE(deviation, p_value ? 1e-4 : 1e-6) << where << ": " << actual << " vs " << expected;
  if (!(deviation <= worst->deviation)) *worst = {deviation, where};
}

// The series of the report by id (the package lists a series whose records are split in the
// file at the place of its last part, the program at the place of its first).
std::map<std::string, std::size_t> series_by_id(const SeriesReport& report) {
  std::map<std::string, std::size_t> by_id;
  for (std::size_t j = 0; j < report.series.size(); ++j) by_id[report.series[j].id] = j;
  return by_id;
}

void check_series(const std::string& file, const SeriesReport& report) {
  const Table table = read_table(file + ".series.tsv");
  ASSERT_EQ(table.rows.size(), report.series.size()) << file;
  const std::map<std::string, std::size_t> by_id = series_by_id(report);
  Worst worst;
  const struct {
    const char* column;
    double SeriesFigures::*figure;
  } figures[] = {{"mean", &SeriesFigures::mean},         {"median", &SeriesFigures::median},
                 {"stdev", &SeriesFigures::stdev},       {"skew", &SeriesFigures::skew},
                 {"kurtosis", &SeriesFigures::kurtosis}, {"gini", &SeriesFigures::gini},
                 {"ar1", &SeriesFigures::ar1},           {"sens1", &SeriesFigures::sens1},
                 {"intercor", &SeriesFigures::intercor}};
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const std::vector<std::string>& row = table.rows[i];
    const auto found = by_id.find(row[table.column("series")]);
    ASSERT_NE(found, by_id.end()) << file << " " << row[0];
    const SeriesFigures& s = report.series[found->second];
    const std::string where = file + " " + s.id;
    EXPECT_EQ(row[table.column("first")], std::to_string(s.first)) << where;
    EXPECT_EQ(row[table.column("last")], std::to_string(s.last)) << where;
    EXPECT_EQ(row[table.column("year")], std::to_string(s.years)) << where;
    EXPECT_EQ(row[table.column("ar_order")], s.ar_order ? std::to_string(*s.ar_order) : "NA")
        << where;
    for (const auto& f : figures) {
      expect_figure(row[table.column(f.column)], s.*f.figure, false, where + " " + f.column,
                    &worst);
    }
    expect_figure(row[table.column("intercor_p")], s.intercor_p, true, where + " intercor_p",
                  &worst);
  }
  std::printf("  %-18s series:   worst %.2g (%s)\n", file.c_str(), worst.deviation,
              worst.where.c_str());
}

void check_segments(const std::string& file, const SeriesReport& report) {
  const Table table = read_table(file + ".segments.tsv");
  ASSERT_EQ(table.rows.size(), report.segments.size()) << file;
  std::map<std::string, const SegmentFigures*> by_key;  // id and first year
  for (const SegmentFigures& s : report.segments) {
    by_key[report.series[static_cast<std::size_t>(s.series)].id + " " + std::to_string(s.start)] =
        &s;
  }
  Worst worst;
  for (const std::vector<std::string>& row : table.rows) {
    const std::string where =
        file + " " + row[table.column("series")] + " " + row[table.column("seg_start")];
    const auto found =
        by_key.find(row[table.column("series")] + " " + row[table.column("seg_start")]);
    ASSERT_NE(found, by_key.end()) << where;
    const SegmentFigures& s = *found->second;
    EXPECT_EQ(row[table.column("seg_end")], std::to_string(s.end())) << where;
    EXPECT_EQ(row[table.column("flagged")], s.flagged() ? "1" : "0") << where;
    expect_figure(row[table.column("r")], s.r, false, where + " r", &worst);
    expect_figure(row[table.column("p")], s.p, true, where + " p", &worst);
  }
  std::printf("  %-18s segments: worst %.2g (%s)\n", file.c_str(), worst.deviation,
              worst.where.c_str());
}

void check_curve(const std::string& file, const RegionalCurve& curve) {
  const Table table = read_table(file + ".rcs.tsv");
  ASSERT_TRUE(curve.usable()) << file;
  ASSERT_EQ(table.rows.size(), curve.mean_by_age.size()) << file;
  Worst worst;
  for (std::size_t a = 0; a < table.rows.size(); ++a) {
    const std::vector<std::string>& row = table.rows[a];
    const std::string where = file + " age " + std::to_string(a + 1);
    EXPECT_EQ(row[table.column("age")], std::to_string(a + 1)) << where;
    EXPECT_EQ(row[table.column("n")], std::to_string(curve.series_by_age[a])) << where;
    expect_figure(row[table.column("mean_by_age")], curve.mean_by_age[a], false, where + " mean",
                  &worst);
    expect_figure(row[table.column("curve")], curve.curve[a], false, where + " curve", &worst);
  }
  std::printf("  %-18s curve:    worst %.2g (%s)\n", file.c_str(), worst.deviation,
              worst.where.c_str());
}

void check_rcs(const std::string& file, const RcsChronology& rcs) {
  const Table table = read_table(file + ".rcschron.tsv");
  ASSERT_EQ(table.rows.size(), rcs.indices.values.size()) << file;
  Worst worst;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const std::vector<std::string>& row = table.rows[i];
    const int year = rcs.indices.first_year + static_cast<int>(i);
    const std::string where = file + " " + std::to_string(year);
    EXPECT_EQ(row[table.column("year")], std::to_string(year)) << where;
    EXPECT_EQ(row[table.column("depth")], std::to_string(rcs.indices.depth[i])) << where;
    expect_figure(row[table.column("rcs")], rcs.indices.values[i], false, where + " rcs", &worst);
    expect_figure(row[table.column("rcs_res")], rcs.residuals.values[i], false, where + " rcs_res",
                  &worst);
  }
  std::printf("  %-18s rcschron: worst %.2g (%s)\n", file.c_str(), worst.deviation,
              worst.where.c_str());
}

TEST(StatisticsReferenceTest, ArchiveFilesMatchTheFieldsPackage) {
  const char* files[] = {"itrdb_ak051.rwl",   "itrdb_ca533.rwl",   "itrdb_ca708.rwl",
                         "itrdb_cana569.rwl", "itrdb_deu317.rwl",  "itrdb_egy002.rwl",
                         "itrdb_neth012.rwl", "itrdb_newz016.rwl", "itrdb_ok049l.rwl",
                         "itrdb_or088.rwl",   "itrdb_rus393.rwl",  "itrdb_tx042.rwl"};
  for (const char* file : files) {
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(file);
    const MeasurementReading reading = read_measurements(read_file(archive_file(file)));
    ASSERT_TRUE(reading.usable) << file;
    const std::vector<MeasuredSeries>& set = reading.measured;
    const SeriesReport report = series_report(set);
    check_series(file, report);
    check_segments(file, report);
    const RegionalCurve curve = regional_curve(set);
    check_curve(file, curve);
    check_rcs(file, rcs_chronology(set, curve));
  }
}

}  // namespace
}  // namespace kvr::test
