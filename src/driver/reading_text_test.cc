#include "driver/reading_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "decade_reading.h"

namespace kvr {
namespace {

TEST(ReadingTextTest, WarningLinesNameLineSeriesAndYear) {
  const test::DecadeReading r = test::read_decade(
      "ABC001  1901   100   200   300   400   500   600   700   800   900\n"
      "ABC001  1920   100  -999  9990   999\n"
      "ABC002  1950   100 -9999\n");
  ASSERT_EQ(r.anomalies.size(), 3u);
  EXPECT_EQ(warning_line(r.anomalies[0]),
            " Warning: line 2, series \"ABC001\": the record's year 1920 leaves the years 1910 to "
            "1919 without values, read as missing");
  EXPECT_EQ(warning_line(r.anomalies[2]),
            " Warning: line 2, series \"ABC001\": missing-value code -999 in 1 value from year "
            "1921, read as missing");
}

// A series as "ID first-last: values", each value in thousandths of a millimetre, "-" for a
// missing one and "-xN" for N missing in a row.
std::string render(const MeasurementSet& set, int j) {
  const SeriesInfo& info = set.info(j);
  std::string text = trim_right(info.id) + " " + std::to_string(info.first_year) + "-" +
                     std::to_string(info.last_year) + ":";
  for (int i = 1; i <= info.length; ++i) {
    if (!is_missing(set.values(j, i))) {
      text += " " + std::to_string(std::lround(set.values(j, i) * 1000.0f));
      continue;
    }
    int run = 1;
    while (i + run <= info.length && is_missing(set.values(j, i + run))) ++run;
    text += run == 1 ? " -" : " -x" + std::to_string(run);
    i += run - 1;
  }
  return text;
}

std::vector<std::string> rendered(const MeasurementSet& set) {
  std::vector<std::string> all;
  for (int j = 1; j <= set.count(); ++j) all.push_back(render(set, j));
  return all;
}

// The warnings' texts, each without its leading " Warning: ".
std::vector<std::string> warning_texts(const MeasurementReading& r) {
  std::vector<std::string> texts;
  for (const ReadAnomaly& warning : r.warnings) texts.push_back(warning_line(warning).substr(10));
  return texts;
}

struct HabitCase {
  const char* habit;
  std::string file;
  std::vector<std::string> series;
  std::vector<std::string> warnings;
};

TEST(ReadingTextTest, ArchiveHabitsAreMendedAndNamed) {
  const std::vector<HabitCase> cases = {
      {"negative codes are missing values at their years",
       "A       1908   100  -999\nA       1910  -888   300   999\n",
       {"A 1908-1911: 1000 -x2 3000"},
       {"line 1, series \"A\": missing-value codes -999, -888 in 2 values from year 1909, read "
        "as missing"}},
      {"a \"NaN\" field is a missing value, the record's other values at their years",
       "proc53  1860   291   NaN   279   426    64   118    91   151    87   141\n"
       "proc53  1870   100   999\n",
       {"proc53 1860-1870: 2910 - 2790 4260 640 1180 910 1510 870 1410 1000"},
       {"line 1, series \"proc53\": \"NaN\" in 1 value from year 1861, read as missing"}},
      {"\".\" in a first record is a missing value too",
       "TEST7A  1734  1230   456     .    12    34   999\n",
       {"TEST7A 1734-1738: 12300 4560 - 120 340"},
       {"line 1, series \"TEST7A\": \".\" in 1 value from year 1736, read as missing"}},
      {"\"NA\" in any case, each form named once; a shifted record splits around them",
       "N       1908    na   200\nN       1910   NaN     .   300     0     NaN    19   999\n",
       {"N 1908-1915: - 2000 -x2 3000 1 - 190"},
       {"line 1, series \"N\": \"NaN\", \"NA\", \".\" in 4 values from year 1908, read as "
        "missing",
        "line 2, series \"N\": the values are shifted in their columns; the record is read by "
        "splitting at blanks"}},
      {"a record that jumps ahead leaves the years between missing",
       "G       1908   100   200\nG       1930   300   999\n",
       {"G 1908-1930: 1000 2000 -x20 3000"},
       {"line 2, series \"G\": the record's year 1930 leaves the years 1910 to 1929 without "
        "values, read as missing"}},
      {"blank fields before a jump are no values",
       "W       1900   100   200\nW       1920   300   999\n",
       {"W 1900-1920: 1000 2000 -x18 3000"},
       {"line 2, series \"W\": the record's year 1920 leaves the years 1902 to 1919 without "
        "values, read as missing"}},
      // The record going back ends the series; the new one overlaps none of its years and
      // comes first in time: both join.
      {"a record that goes back ends the series, a segment that fits joins",
       "B       1908   100   200\nB       1905   300   400   500   999\n",
       {"B 1905-1909: 3000 4000 5000 1000 2000"},
       {"line 2, series \"B\": the record's year 1905 goes back to years already read (line 1 "
        "reached 1909); the series ends before it, in 0.01 mm, as 1 other series of the file, "
        "and the record starts a new series",
        "line 2, series \"B\": the id comes back after its series of line 1 ended; the years "
        "1905 to 1907 overlap none of its years, so both join into one series (1905 to 1909)"}},
      {"a reused id whose years overlap stays a series of its own",
       "C       1908   100   200\nC       1909   300\nC       1910   999\n",
       {"C 1908-1909: 1000 2000", "C 1909-1909: 3000"},
       {"line 2, series \"C\": the record's year 1909 goes back to years already read (line 1 "
        "reached 1909); the series ends before it, in 0.01 mm, as 1 other series of the file, "
        "and the record starts a new series",
        "line 2, series \"C\": the id of series 1 (line 1) again"}},
      {"a lost end marker: the units of most other series, the next series read",
       "M1      1908  1000  2000\nM2      1905   300 -9999\nM3      1905   400 -9999\n"
       "M4      1905   500   999\n",
       {"M1 1908-1909: 1000 2000", "M2 1905-1905: 300", "M3 1905-1905: 400", "M4 1905-1905: 5000"},
       {"line 2, series \"M1\": the record of \"M2\" (1905) follows without an end marker; the "
        "series ends at 1909, in 0.001 mm, as 2 other series of the file"}},
      {"a series that the file ends inside keeps its values, in the units of the others",
       "E1      1908   100 -9999\nE2      1905   300   400",
       {"E1 1908-1908: 100", "E2 1905-1906: 300 400"},
       {"line 2, series \"E2\": the file ends inside the series, before its end marker; the "
        "series ends at 1906, in 0.001 mm, as 1 other series of the file"}},
      {"a different id whose year continues the series is read with it",
       "X1      1908   100   200\nX2      1910   300   999\n",
       {"X1 1908-1910: 1000 2000 3000"},
       {"line 2, series \"X1\": the record's id \"X2\" differs, but its year continues the "
        "series; read as part of it"}},
      {"999 followed by a measurement in a -9999 series is 0.999 mm",
       "T       1908   500   999\nT       1910   600 -9999\n",
       {"T 1908-1910: 500 999 600"},
       {"line 1, series \"T\": 999 in 1 value from year 1909 is followed by measurements, so "
        "it ends nothing; read as 0.999 mm, the series being in 0.001 mm"}},
      {"999 followed by a measurement in a 999 series is missing",
       "F       1908   500   999\nF       1910   999   600   999\n",
       {"F 1908-1911: 5000 -x2 6000"},
       {"line 1, series \"F\": 999 in 2 values from year 1909 is followed by measurements, so "
        "it ends nothing; read as missing, the series being in 0.01 mm"}},
      {"-9999 followed by measurements in its record is a missing value",
       "slp056  1900  1252  1142  1676  3697 -9999  4818  4666  3467  5783  3001\n"
       "slp056  1910  2000 -9999\n",
       {"slp056 1900-1910: 1252 1142 1676 3697 - 4818 4666 3467 5783 3001 2000"},
       {"line 1, series \"slp056\": -9999 in 1 value from year 1904 is followed by "
        "measurements, so it ends nothing; read as missing"}},
      {"-9999 is missing when the next record goes on right after its record's missing codes; "
       "the marker that ends the series gives the units",
       "L       1908 -9999  -999\nL       1910   300   999\n",
       {"L 1908-1910: -x2 3000"},
       {"line 1, series \"L\": -9999 in 1 value from year 1908 is followed by measurements, "
        "so it ends nothing; read as missing",
        "line 1, series \"L\": missing-value code -999 in 1 value from year 1909, read as "
        "missing"}},
      {"-9999s over whole records up to a measurement are missing values",
       "R       1908 -9999 -9999\n"
       "R       1910 -9999 -9999 -9999 -9999 -9999 -9999 -9999 -9999 -9999 -9999\n"
       "R       1920   300   999\n",
       {"R 1908-1920: -x12 3000"},
       {"line 1, series \"R\": -9999 in 12 values from year 1908 is followed by measurements, "
        "so it ends nothing; read as missing"}},
      {"-9999 before a record that leaves a gap ends a segment; each keeps its units",
       "J       1908   100 -9999\nJ       1920   300   999\n",
       {"J 1908-1920: 100 -x11 3000"},
       {"line 2, series \"J\": the id comes back after its series of line 1 ended; the year "
        "1920 overlaps none of its years, so both join into one series (1908 to 1920) with 11 "
        "missing years between"}},
      {"an end marker after the tenth value of a full record ends the series",
       "TEST6A  1734   123   123   123   123   123   123\n"
       "TEST6A  1740   123   123   123   123   123   123   123   123   123   123 -9999\n"
       "TEST7A  1734  1230   999\n",
       {"TEST6A 1734-1749: 123 123 123 123 123 123 123 123 123 123 123 123 123 123 123 123",
        "TEST7A 1734-1734: 12300"},
       {"line 2, series \"TEST6A\": the end marker -9999 stands after the record's tenth value, "
        "where a record has no field; it ends the series, in 0.001 mm"}},
      {"records of missing values after the end marker are passed over",
       "P       1908   500   999  -999\nP       1910  -999  -999\nQ       1905   100   999\n",
       {"P 1908-1908: 5000", "Q 1905-1905: 1000"},
       {"line 2, series \"P\": a record after the end marker (line 1) holds only missing "
        "values; passed over"}},
      {"an id that runs into the year and reads as a year too: the years decide",
       "OLF19B-11698   450   664\nOLF19B-11700   320 -9999\n",
       {"OLF19B-1 1698-1700: 450 664 320"},
       {"line 1, series \"OLF19B-1\": the id runs into the year; read as the id \"OLF19B-1\" "
        "and the year 1698"}},
      {"an id that runs into the year: the year field does not read",
       "NCFL06-N1828   912  1145\nNCFL06-N1830   962 -9999\n",
       {"NCFL06-N 1828-1830: 912 1145 962"},
       {"line 1, series \"NCFL06-N\": the id runs into the year; read as the id \"NCFL06-N\" "
        "and the year 1828"}},
      {"BC years beside a 6- or 7-character id read as they always did",
       "102050 -2162   177   203\n102050 -2160   100   999\n0180039-1001   100\n"
       "018003 -1000   200   999\n",
       {"102050 -2162--2160: 1770 2030 1000", "0180039 -1001--1000: 1000 2000"},
       {}},
      {"a line in UTF-8 is read by characters",
       "\xD0\x92\xD0\x92"
       "9A    1548    62   110\n\xD0\x92\xD0\x92"
       "9A    1550   160   999\n",
       {"\xD0\x92\xD0\x92"
        "9A 1548-1550: 620 1100 1600"},
       {"line 1, series \"\xD0\x92\xD0\x92"
        "9A\": the record holds UTF-8 characters; its "
        "columns are counted in characters"}},
      {"values shifted by a column are split at blanks",
       "S       1300     0     19     0   999\n",
       {"S 1300-1302: 1 190 1"},
       {"line 1, series \"S\": the values are shifted in their columns; the record is read by "
        "splitting at blanks"}},
      {"a shifted record splits although a field is no number; its end marker is the split's",
       "SSB05B  2008   500   600\nSSB05B  2010  1298  434  735  1732  3165  895 -9999\n",
       {"SSB05B 2008-2015: 500 600 1298 434 735 1732 3165 895"},
       {"line 2, series \"SSB05B\": the values are shifted in their columns; the record is read "
        "by splitting at blanks"}},
      {"in a record that does not split, the piece 999 of a number cut across fields is no "
       "end marker",
       "K       1901    61    981234567   17   209   246    83     1999   \n"
       "M       1901   100 -9999\n",
       {"K 1901-1909: 61 98 123456 717 209 246 83 1 -", "M 1901-1901: 100"},
       {"line 1, series \"K\": the values are not right-aligned in their columns and do not "
        "split into the record's slots; read from the columns as they stand",
        "line 1, series \"K\": field 9 of the record (year 1909) reads 999 only as a piece of a "
        "number cut across fields; read as missing, not as an end marker",
        "line 2, series \"K\": the record of \"M\" (1901) follows without an end marker; the "
        "series ends at 1909, in 0.001 mm, as 1 other series of the file"}},
      {"values not right-aligned that do not split are read from the columns",
       "U       1901    61    981234567   172   209   246    83   120   157\n"
       "U       1910   999\n",
       {"U 1901-1909: 610 980 1234560 7170 2200 9240 680 3120 150"},
       {"line 1, series \"U\": the record's year 1901 leaves it 9 slots to the end of its "
        "decade; the values after them were not read",
        "line 1, series \"U\": the values are not right-aligned in their columns and do not "
        "split into the record's slots; read from the columns as they stand"}},
      {"one field that is no number is missing, a record of more is not read",
       "Z       1908   100   200\nZ       1910   100  AZP3   300   400   500   600   700   800"
       "   900   100\nZ       1920    1.    2.   300\nZ       1930   400   999\n",
       {"Z 1908-1930: 1000 2000 1000 - 3000 4000 5000 6000 7000 8000 9000 1000 -x10 4000"},
       {"line 2, series \"Z\": field 2 of the record (year 1911) is no number, read as missing",
        "line 3, series \"Z\": the line does not read as a record of the series; its values "
        "were not read",
        "line 4, series \"Z\": the record's year 1930 leaves the years 1920 to 1929 without "
        "values, read as missing"}},
      {"values after the slots of the record's year are named",
       "Y       1909   100   200   999\nY       1910   300   999\n",
       {"Y 1909-1910: 1000 3000"},
       {"line 1, series \"Y\": the record's year 1909 leaves it 1 slot to the end of its "
        "decade; the values after it were not read"}},
  };
  for (const HabitCase& c : cases) {
    SCOPED_TRACE(c.habit);
    const MeasurementReading r = test::read_measurements(c.file);
    ASSERT_TRUE(r.usable) << static_cast<int>(r.refusal.kind);
    EXPECT_EQ(rendered(r.set), c.series);
    EXPECT_EQ(warning_texts(r), c.warnings);
  }
}

// What the reader hands out as facts, the console shows as text: the text records under
// " title of data:" with control characters as '?', the free-format reader's messages, and
// the refusals.
TEST(ReadingTextTest, TextOfTheReading) {
  MeasurementReading reading;
  reading.text = {{{"Site \x1b[31m", "second"}, DatarStatus::kSeries},
                  {{"free"}, DatarStatus::kReadError},
                  {{}, DatarStatus::kUnexpectedEnd}};
  EXPECT_EQ(echo_text(reading),
            "\n title of data:\n Site ?[31m\n second\n"
            "\n title of data:\n free\n>> sbr datar:  error reading data\n"
            ">> sbr datar:  unexpected end reading data\n");
  reading.text = {{{"Text line 25"}, DatarStatus::kSeries}};
  reading.refusal.kind = Refusal::Kind::kTooManyTextLines;
  EXPECT_EQ(echo_text(reading),
            "\n title of data:\n Text line 25\n sbr trrw:  over 25 text lines\n");
  EXPECT_EQ(refusal_line(reading.refusal), "");

  EXPECT_EQ(refusal_line({Refusal::Kind::kChronology, {}, {}, 0}),
            " The input file holds a chronology (index records with sample depth), not tree-ring "
            "measurements. Program terminating.");
  // A NOAA template's or a column table's refusal, as its reader says it.
  Refusal table;
  table.kind = Refusal::Kind::kTable;
  table.table.kind = TableRefusalKind::kRepeatedYear;
  table.table.line_number = 5;
  table.table.year = 1903;
  table.table.other_line = 4;
  EXPECT_EQ(refusal_line(table), " Line 5 repeats the year 1903 of line 4. Program terminating.");
}

}  // namespace
}  // namespace kvr
