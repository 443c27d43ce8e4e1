#include "formats/trrw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "decade_reading.h"
#include "formats/decade_format.h"
#include "index_reading.h"
#include "text_helpers.h"

namespace kvr {
namespace {

using test::DecadeReading;
using test::read_decade;
using test::replace_all;
using test::write_decade;

using Kind = SeriesRead::Kind;

// A file read series by series.
class CallByCall {
 public:
  explicit CallByCall(const std::string& text) : in_(text), lines_(in_), reader_(lines_, 100) {}
  SeriesRead next() { return reader_.next(); }

 private:
  std::istringstream in_;
  LineReader lines_;
  SeriesReader reader_;
};

TrrwSeries make_series(std::string id, int first_year, std::vector<float> values,
                       std::vector<int> depths = {}) {
  TrrwSeries s;
  s.id = std::move(id);
  s.first_year = first_year;
  s.count = static_cast<int>(values.size());
  s.values = std::move(values);
  s.depths = std::move(depths);
  return s;
}

// A deterministic series of plausible ring widths.
std::vector<float> widths(int n, int seed) {
  std::vector<float> v;
  for (int i = 0; i < n; ++i) {
    const int step = ((seed * 37 + i * 53) % 900 + 900) % 900;
    v.push_back(static_cast<float>(step) * 0.003f);
  }
  return v;
}

// Three header lines, then a series in 0.01 mm and one in 0.001 mm.
const std::string kSmallFile =
    "Glen Derry  WIDTH_RING PISY\n"
    "Great Britain   Scots pine 1773 1978\n"
    "FRITZ SCHWEINGRUBER\n"
    "ABC001  1901   100   200   300   400   500   600   700   800   900\n"
    "ABC001  1910   123   999\n"
    "ABC002  1950   123   456 -9999\n";

TEST(TrrwReadTest, BothEndMarkers) {
  const DecadeReading r = read_decade(kSmallFile);
  ASSERT_EQ(r.series.size(), 2u);
  EXPECT_EQ(r.kinds.back(), Kind::kEndOfFile);

  const TrrwSeries& a = r.series[0];
  EXPECT_EQ(a.id, "ABC001  ");
  EXPECT_EQ(a.first_year, 1901);
  ASSERT_EQ(a.count, 10);
  ASSERT_EQ(a.values.size(), 10u);
  EXPECT_FLOAT_EQ(a.values[0], 1.0f);
  EXPECT_FLOAT_EQ(a.values[8], 9.0f);
  EXPECT_FLOAT_EQ(a.values[9], 1.23f);

  const TrrwSeries& b = r.series[1];
  EXPECT_EQ(b.first_year, 1950);
  ASSERT_EQ(b.count, 2);
  EXPECT_FLOAT_EQ(b.values[0], 0.123f);
  EXPECT_FLOAT_EQ(b.values[1], 0.456f);
  // The fields as integers, whatever the units.
  EXPECT_EQ(a.fields[9], 123);
  EXPECT_EQ(b.fields, (std::vector<int>{123, 456}));
  EXPECT_FALSE(r.cut.has_value());
  EXPECT_TRUE(r.anomalies.empty());
}

void expect_same_reading(const DecadeReading& a, const DecadeReading& b, const std::string& name) {
  ASSERT_EQ(a.series.size(), b.series.size()) << name;
  for (std::size_t i = 0; i < a.series.size(); ++i) {
    EXPECT_EQ(a.series[i].id, b.series[i].id) << name;
    EXPECT_EQ(a.series[i].first_year, b.series[i].first_year) << name;
    EXPECT_EQ(a.series[i].values, b.series[i].values) << name;
  }
  EXPECT_EQ(a.text_records, b.text_records) << name;
}

TEST(TrrwReadTest, LineEndsAndTabsReadLikeTheCleanFile) {
  const DecadeReading reference = read_decade(kSmallFile);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"CR LF", replace_all(kSmallFile, "\n", "\r\n")},
      {"CR only, no final end",
       replace_all(kSmallFile, "\n", "\r").substr(0, kSmallFile.size() - 1)},
      {"CR CR LF", replace_all(kSmallFile, "\n", "\r\r\n")},
      {"headers CR LF, data CR", replace_all(kSmallFile.substr(0, 86), "\n", "\r\n") +
                                     replace_all(kSmallFile.substr(86), "\n", "\r")},
      // A CR just after a short last record must not make it a text record.
      {"short record then CR", replace_all(kSmallFile, "   999\n", "   999\r\n")},
      // Tabs as met in archive files: in an unused slot of a first record, after an end
      // marker, between id and year.
      {"tabs", replace_all(replace_all(replace_all(kSmallFile, "   900\n", "   900    \t   \n"),
                                       "   999\n", "   999\t\n"),
                           "ABC002  1950", "ABC002\t1950")},
  };
  ASSERT_NE(reference.series.size(), 0u);
  for (const auto& c : cases) expect_same_reading(reference, read_decade(c.bytes), c.name);
}

TEST(TrrwReadTest, TextRecordsComeWithTheSeriesTheyPrecede) {
  const std::string escape = "Bad \x1b[31m header";
  const DecadeReading r = read_decade(kSmallFile + "A fourth header, not kept\n" + escape + "\n" +
                                      "short\n" + "\n" + "BCD001  1850   100   999\n");
  ASSERT_EQ(r.series.size(), 3u);
  auto pad80 = [](std::string_view s) { return pad_right(s, 80); };
  // Each in its 80 columns, as it stands (the console shows control characters as '?');
  // "short" (blank year columns) and the empty line are neither data nor text.
  const std::vector<std::vector<std::string>> expected = {
      {pad80("Glen Derry  WIDTH_RING PISY"), pad80("Great Britain   Scots pine 1773 1978"),
       pad80("FRITZ SCHWEINGRUBER")},
      {},
      {pad80("A fourth header, not kept"), pad80(escape)},
      {}};  // the end of the file
  EXPECT_EQ(r.text_records, expected);
  EXPECT_EQ(r.series[2].first_year, 1850);

  // A decimal point makes a record a text record.
  CallByCall file("ABC001  1901   1.5   200   999\nABC001  1901   100   999\n");
  const SeriesRead first = file.next();
  ASSERT_EQ(first.kind, Kind::kSeries);
  EXPECT_EQ(first.text_records,
            std::vector<std::string>{pad_right("ABC001  1901   1.5   200   999", 80)});
  EXPECT_EQ(first.series.count, 1);
}

TEST(TrrwReadTest, AtMostTwentyFiveTextRecordsInOneCall) {
  std::string header;
  for (int i = 1; i <= 25; ++i) header += "Text line " + format_int(i, 2) + "\n";
  const std::string series = "ABC001  1901   100   999\n";
  const DecadeReading ok = read_decade(header + series);
  EXPECT_EQ(ok.series.size(), 1u);

  const DecadeReading too_many = read_decade(header + "Text line 26\n" + series);
  EXPECT_TRUE(too_many.series.empty());
  EXPECT_EQ(too_many.kinds.back(), Kind::kTooManyTextLines);
  ASSERT_EQ(too_many.text_records.back().size(), 25u);
  EXPECT_EQ(too_many.text_records.back().back(), pad_right("Text line 25", 80));
}

TEST(TrrwReadTest, TooLongSeriesIsCountedToItsEnd) {
  const std::string file = write_decade(
      WriteMode::kMeasurements,
      {make_series("LONG01", 1901, widths(25, 1)), make_series("NEXT01", 1950, widths(3, 2))});
  const DecadeReading r = read_decade(file, 15);
  ASSERT_EQ(r.kinds.size(), 3u);
  EXPECT_EQ(r.kinds[0], Kind::kSeriesTooLong);
  EXPECT_EQ(r.series[0].id, "LONG01  ");
  EXPECT_EQ(r.series[0].first_year, 1901);
  EXPECT_EQ(r.series[0].count, 25);
  ASSERT_EQ(r.series[0].values.size(), 15u);
  EXPECT_NEAR(r.series[0].values[14], widths(25, 1)[14], 1e-6);
  EXPECT_EQ(r.kinds[1], Kind::kSeries);
  EXPECT_EQ(r.series[1].count, 3);
}

TEST(TrrwReadTest, SeriesCutByTheEndOfTheFileKeepsItsValues) {
  // The blank fields at the end of the last record are no values.
  const DecadeReading r = read_decade(kSmallFile + "CUT001  1898   100   200\nCUT001  1900   300");
  ASSERT_EQ(r.series.size(), 3u);
  EXPECT_EQ(r.kinds.back(), Kind::kEndOfFile);
  EXPECT_FALSE(r.cut.has_value());
  const TrrwSeries& cut = r.series[2];
  EXPECT_EQ(cut.id, "CUT001  ");
  EXPECT_EQ(cut.first_year, 1898);
  EXPECT_EQ(cut.first_line, 7);
  EXPECT_EQ(cut.values, (std::vector<float>{1.0f, 2.0f, 3.0f}));
  // Its units wait for the file's other series.
  EXPECT_EQ(cut.end_marker, EndMarker::kLost);
  EXPECT_EQ(cut.ending.kind, ReadAnomalyKind::kEndOfFileInSeries);
  EXPECT_EQ(cut.ending.line_number, 8);
  EXPECT_EQ(cut.ending.last_year, 1900);

  // The same in index records: a last record without fillers and no filler record after it.
  TrrwSeries chronology = make_series("CRN001", 1900, widths(10, 3));
  std::string index = write_decade(WriteMode::kIndex, chronology);
  index = index.substr(0, index.find('\n') + 1);  // without the filler record
  const test::IndexReading ir = test::read_index(index);
  EXPECT_TRUE(ir.series.empty());
  ASSERT_TRUE(ir.cut.has_value());
  EXPECT_EQ(ir.cut->line_number, 1);
  EXPECT_EQ(ir.cut->first_year, 1900);

  // A series cut before its first record ended.
  CallByCall file("CUT001  1890   100\n");
  const SeriesRead first = file.next();
  EXPECT_EQ(first.kind, Kind::kSeries);
  EXPECT_EQ(first.series.first_year, 1890);
  EXPECT_EQ(first.series.count, 1);
  EXPECT_EQ(file.next().kind, Kind::kEndOfFile);
}

TEST(TrrwReadTest, AnomaliesNameLineSeriesAndYear) {
  const DecadeReading r = read_decade(
      "ABC001  1901   100   200   300   400   500   600   700   800   900\n"
      "ABC001  1920   100  -999  9990   999\n"
      "ABC002  1950   100 -9999\n");
  ASSERT_EQ(r.series.size(), 2u);
  // The skipped decade and the code -999 are missing; the filler is kept as read.
  ASSERT_EQ(r.series[0].count, 22);
  EXPECT_TRUE(is_missing(r.series[0].values[9]));
  EXPECT_TRUE(is_missing(r.series[0].values[18]));
  EXPECT_FLOAT_EQ(r.series[0].values[19], 1.0f);
  EXPECT_TRUE(is_missing(r.series[0].values[20]));
  EXPECT_FLOAT_EQ(r.series[0].values[21], 99.9f);
  EXPECT_EQ(r.series[0].fields[18], kMissingField);  // the skipped decade
  EXPECT_EQ(r.series[0].fields[20], kMissingField);  // -999
  EXPECT_EQ(r.series[0].fields[21], 9990);
  ASSERT_EQ(r.anomalies.size(), 3u);
  const ReadAnomaly& gap = r.anomalies[0];
  EXPECT_EQ(gap.kind, ReadAnomalyKind::kYearGap);
  EXPECT_EQ(gap.line_number, 2);
  EXPECT_EQ(gap.id, "ABC001  ");
  EXPECT_EQ(gap.year, 1920);
  EXPECT_EQ(gap.expected_year, 1910);
  EXPECT_EQ(r.anomalies[1].kind, ReadAnomalyKind::kFillerValue);
  EXPECT_EQ(r.anomalies[1].year, 1922);
  EXPECT_EQ(r.anomalies[2].kind, ReadAnomalyKind::kMissingCodes);
  EXPECT_EQ(r.anomalies[2].year, 1921);
  EXPECT_EQ(r.anomalies[2].codes, std::vector<int>{-999});
}

TEST(TrrwWriteTest, MeasurementRecords) {
  // Halves away from zero, 999 written as 1000, a seven-slot first record without the tag and
  // a record holding only the end marker.
  EXPECT_EQ(write_decade(WriteMode::kMeasurements,
                         make_series("TEST0001", 1903,
                                     {1.23f, 0.999f, 0.0625f, -0.0625f, 12.3456f, 0.0f, 7.0f}),
                         "TAG"),
            "TEST00011903  1230  1000    63   -63 12346     0  7000\n"
            "TEST00011910 -9999\n");
  // Ten values from a year ending in 0: one full record with the tag, then the end marker.
  EXPECT_EQ(write_decade(WriteMode::kMeasurements,
                         make_series("X", 1900, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), "TAG"),
            "X       1900  1000  2000  3000  4000  5000  6000  7000  8000  9000 10000  TAG\n"
            "X       1910 -9999\n");
  // Ids cut to the variant's width: 7 characters before a 5-wide year, 6 before a 6-wide.
  // The series' first year chooses the variant of all its records.
  EXPECT_EQ(write_decade(WriteMode::kMeasurements, make_series("ABCDEFGH", -1001, {1, 2})),
            "ABCDEFG-1001  1000\n"
            "ABCDEFG-1000  2000 -9999\n");
  EXPECT_EQ(write_decade(WriteMode::kMeasurements, make_series("ABCDEFGH", -10001, {1})),
            "ABCDEF-10001  1000\n"
            "ABCDEF-10000 -9999\n");
  // A value too wide for its field is written as asterisks, as formatted output does.
  EXPECT_EQ(write_decade(WriteMode::kMeasurements, make_series("W", 1995, {1000.0f})),
            "W       1995****** -9999\n");
  EXPECT_EQ(write_decade(WriteMode::kMeasurements, make_series("EMPTY", 1900, {})), "");
}

TEST(TrrwWriteTest, IndexRecords) {
  const std::string fill = "9990  0";
  // A chronology starting in 1903: fillers in slots 1-3; a missing value is a filler too.
  EXPECT_EQ(write_decade(WriteMode::kIndex,
                         make_series("KVRcrn", 1903, {1.0f, 0.5f, kMissing, 1.5f}, {3, 2, 0, 5})),
            "KVRcrn1903" + fill + fill + fill + "1000  3 500  2" + fill + "1500  5" + fill + fill +
                fill + "     \n");
  const std::string full = "KVRcrn1900" + std::string("1000  4") + " 998  4" + " -63  4" +
                           " 500  4" + "   0  4" + "  63  4" + "1000  4" + "2000  4" + "3000  4" +
                           "4000  4" + "  TAG\n";
  const TrrwSeries ten = make_series(
      "KVRcrn", 1900, {1, 0.998f, -0.0625f, 0.5f, 0, 0.0625f, 1, 2, 3, 4}, std::vector<int>(10, 4));
  // "iw" follows a full last record with a record of fillers.
  std::string fillers;
  for (int k = 0; k < 10; ++k) fillers += fill;
  EXPECT_EQ(write_decade(WriteMode::kIndex, ten, "TAG"), full + "KVRcrn1910" + fillers + "  TAG\n");

  // Without depths every value gets depth 1; with any depth given, the depths are written
  // even when the first one is 0.
  const std::string no_depths = write_decade(WriteMode::kIndex, make_series("C", 1909, {2.0f}));
  EXPECT_EQ(no_depths.substr(0, 80), "C     1909" + fillers.substr(0, 63) + "2000  1");
  const std::string late_depths =
      write_decade(WriteMode::kIndex, make_series("C", 1908, {kMissing, 2.0f}, {0, 7}));
  EXPECT_EQ(late_depths.substr(0, 80), "C     1908" + fillers.substr(0, 56) + fill + "2000  7");

  // Ids cut to 5 before a 5-wide year and to 4 before a 6-wide one.
  const std::string bc = write_decade(WriteMode::kIndex, make_series("KVRcrn", -1001, {1, 2}));
  EXPECT_EQ(bc.substr(0, 10), "KVRcr-1001");
  EXPECT_EQ(bc.substr(73, 7), "1000  1");
  EXPECT_EQ(bc.substr(86, 17), "KVRcr-10002000  1");
}

// The first record of a series: how many values it holds, where they go, and that reading
// gives the series back (variants chosen by the position of the minus sign).
TEST(TrrwRoundTripTest, FirstRecordSlots) {
  const struct {
    int year;
    int values;
    const char* measurement_start;  // columns 1-12 of the first and second "mw" record
    const char* second_measurement;
    const char* index_start;  // columns 1-10 of the first and second "iw" record
    const char* second_index;
  } cases[] = {
      {1901, 9, "AB01    1901", "AB01    1910", "AB01  1901", "AB01  1910"},
      {1900, 10, "AB01    1900", "AB01    1910", "AB01  1900", "AB01  1910"},
      {-5, 5, "AB01      -5", "AB01       0", "AB01    -5", "AB01     0"},
      {-10, 10, "AB01     -10", "AB01       0", "AB01   -10", "AB01     0"},
      {-1000, 10, "AB01   -1000", "AB01    -990", "AB01 -1000", "AB01  -990"},
      {-1001, 1, "AB01   -1001", "AB01   -1000", "AB01 -1001", "AB01 -1000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(first_record_values(c.year), c.values) << c.year;
    const std::vector<float> values = widths(23, c.year);

    const std::string raw =
        write_decade(WriteMode::kMeasurements, make_series("AB01", c.year, values));
    EXPECT_EQ(raw.substr(0, 12), c.measurement_start) << c.year;
    EXPECT_EQ(raw.find('\n'),
              static_cast<std::size_t>(12 + 6 * c.values) + (c.values == 10 ? 5 : 0))
        << c.year;
    EXPECT_EQ(raw.substr(raw.find('\n') + 1, 12), c.second_measurement) << c.year;
    const DecadeReading mr = read_decade(raw);
    ASSERT_EQ(mr.series.size(), 1u) << c.year;
    EXPECT_EQ(mr.series[0].first_year, c.year);
    ASSERT_EQ(mr.series[0].count, 23);
    for (int i = 0; i < 23; ++i) EXPECT_NEAR(mr.series[0].values[i], values[i], 1e-6) << c.year;
    EXPECT_EQ(write_decade(WriteMode::kMeasurements, mr.series), raw) << c.year;

    const std::string index = write_decade(
        WriteMode::kIndex, make_series("AB01", c.year, values, std::vector<int>(23, 9)));
    EXPECT_EQ(index.substr(0, 10), c.index_start) << c.year;
    const std::size_t first_value = 10 + 7 * static_cast<std::size_t>(10 - c.values);
    EXPECT_EQ(index.substr(10, first_value - 10), [&] {
      std::string f;
      for (int k = c.values; k < 10; ++k) f += "9990  0";
      return f;
    }()) << c.year;
    EXPECT_EQ(index.substr(86, 10), c.second_index) << c.year;
    const test::IndexReading ir = test::read_index(index);
    ASSERT_EQ(ir.series.size(), 1u) << c.year;
    EXPECT_EQ(ir.series[0].first_year, c.year);
    ASSERT_EQ(ir.series[0].count, 23);
    EXPECT_EQ(ir.series[0].depths, std::vector<int>(23, 9));
    EXPECT_EQ(write_decade(WriteMode::kIndex, ir.series), index) << c.year;
  }
}

TEST(TrrwRoundTripTest, ManySeriesWriteReadWrite) {
  std::vector<TrrwSeries> raw_series;
  std::vector<TrrwSeries> index_series;
  int n = 0;
  for (const int year : {1700, 1703, 1999, 0, -1, -9, -999, -1234, -10000, -12345}) {
    for (const int length : {1, 9, 10, 11, 20, 97}) {
      std::vector<float> v = widths(length, ++n);
      raw_series.push_back(make_series("S" + std::to_string(n), year, v));
      std::vector<int> depths(v.size());
      for (std::size_t i = 0; i < v.size(); ++i) depths[i] = static_cast<int>(1 + i % 40);
      // Gaps inside a chronology: at a record's end and in the middle of one.
      if (length > 12) v[3] = v[9] = v[10] = kMissing;
      // A gap longer than a record.
      if (length > 40) std::fill(v.begin() + 20, v.begin() + 34, kMissing);
      index_series.push_back(make_series("C" + std::to_string(n % 100), year, v, depths));
    }
  }
  const std::string raw = write_decade(WriteMode::kMeasurements, raw_series);
  const DecadeReading mr = read_decade(raw);
  ASSERT_EQ(mr.series.size(), raw_series.size());
  EXPECT_EQ(write_decade(WriteMode::kMeasurements, mr.series), raw);

  const std::string index = write_decade(WriteMode::kIndex, index_series);
  const test::IndexReading ir = test::read_index(index);
  ASSERT_EQ(ir.series.size(), index_series.size());
  EXPECT_TRUE(ir.text_records.empty());
  for (std::size_t i = 0; i < ir.series.size(); ++i) {
    const TrrwSeries& in = index_series[i];
    const TrrwSeries& out = ir.series[i];
    ASSERT_EQ(out.count, in.count) << i;
    for (int k = 0; k < in.count; ++k) {
      if (is_missing(in.values[k])) {
        EXPECT_TRUE(is_missing(out.values[k])) << i << " " << k;
        EXPECT_EQ(out.depths[k], 0);
      } else {
        EXPECT_NEAR(out.values[k], in.values[k], 5e-4) << i << " " << k;
        EXPECT_EQ(out.depths[k], in.depths[k]);
      }
    }
  }
  EXPECT_EQ(write_decade(WriteMode::kIndex, ir.series), index);
}

TEST(TrrwReadTest, IndexRecordsWithoutDepths) {
  const std::string index =
      write_decade(WriteMode::kIndex, make_series("CRN", 1995, {1, 2, 3}, {5, 6, 7}));
  const test::IndexReading without = test::read_index(index, false);
  ASSERT_EQ(without.series.size(), 1u);
  EXPECT_EQ(without.series[0].id, "CRN     ");
  EXPECT_EQ(without.series[0].depths, std::vector<int>(3, 0));
  const test::IndexReading with = test::read_index(index + index);
  ASSERT_EQ(with.series.size(), 2u);
  EXPECT_EQ(with.series[1].depths, (std::vector<int>{5, 6, 7}));
  EXPECT_FLOAT_EQ(with.series[1].values[2], 3.0f);
}

TEST(TrrwReadTest, FreeFormatSeries) {
  const std::string hash_line = pad_right("FREE0001 a free-format series", 79) + "#\n";
  const std::string count_line = "n       12      1950  (10f8.3)\n";
  const std::string data =
      "   1.234   2.000    3000    4.25       5       6       7       8"
      "       9      10\n  11.000  -0.125\n";
  const DecadeReading r = read_decade(hash_line + count_line + data + "ABC001  1901   100   999\n");
  ASSERT_EQ(r.series.size(), 2u);
  const TrrwSeries& f = r.series[0];
  EXPECT_EQ(f.id, "FREE0001");
  EXPECT_EQ(f.first_year, 1950);
  ASSERT_EQ(f.count, 12);
  EXPECT_FLOAT_EQ(f.values[0], 1.234f);
  EXPECT_FLOAT_EQ(f.values[2], 3.0f);  // no decimal point: the last three digits are decimals
  EXPECT_FLOAT_EQ(f.values[4], 0.005f);
  EXPECT_FLOAT_EQ(f.values[11], -0.125f);
  EXPECT_EQ(r.series[1].first_year, 1901);
  for (const std::vector<std::string>& text : r.text_records) EXPECT_TRUE(text.empty());
  EXPECT_EQ(r.free_format.front(), DatarStatus::kSeries);

  // The file ends before the count line: the end of the file, with the series named.
  const DecadeReading cut = read_decade("ABC001  1901   100   999\n" + hash_line);
  EXPECT_EQ(cut.series.size(), 1u);
  EXPECT_EQ(cut.kinds.back(), Kind::kEndOfFile);
  ASSERT_TRUE(cut.cut.has_value());
  EXPECT_EQ(cut.cut->id, "FREE0001");
  EXPECT_EQ(cut.cut->line_number, 2);

  // Longer than the limit: counted, only the limit stored, the next series read after it.
  const DecadeReading too_long =
      read_decade(hash_line + count_line + data + "ABC001  1901   100   999\n", 5);
  ASSERT_EQ(too_long.series.size(), 2u);
  EXPECT_EQ(too_long.kinds[0], Kind::kSeriesTooLong);
  EXPECT_EQ(too_long.series[0].count, 12);
  EXPECT_EQ(too_long.series[0].values.size(), 5u);
  EXPECT_EQ(too_long.series[1].first_year, 1901);
}

}  // namespace
}  // namespace kvr
