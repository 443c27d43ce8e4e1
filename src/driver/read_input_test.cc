#include "driver/read_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "data/decade_outputs.h"

namespace kvr {
namespace {

struct Reading {
  bool ok = false;
  std::string screen;
  MeasurementSet set;
};

Reading read(std::istream& in) {
  Reading r;
  std::istringstream no_answers;
  std::ostringstream screen;
  Console console(no_answers, screen);
  r.ok = read_measurements(in, console, &r.set);
  r.screen = screen.str();
  return r;
}

Reading read(const std::string& bytes) {
  std::istringstream in(bytes);
  return read(in);
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

// The screen's warnings, each without its leading " Warning: ".
std::vector<std::string> warnings(const std::string& screen) {
  std::vector<std::string> found;
  std::istringstream in(screen);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(" Warning: ", 0) == 0) found.push_back(line.substr(10));
  }
  return found;
}

struct HabitCase {
  const char* habit;
  std::string file;
  std::vector<std::string> series;
  std::vector<std::string> warnings;
};

TEST(ReadMeasurementsTest, ArchiveHabitsAreMendedAndNamed) {
  const std::vector<HabitCase> cases = {
      {"negative codes are missing values at their years",
       "A       1908   100  -999\nA       1910  -888   300   999\n",
       {"A 1908-1911: 1000 -x2 3000"},
       {"line 1, series \"A\": missing-value codes -999, -888 in 2 values from year 1909, read "
        "as missing"}},
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
    const Reading r = read(c.file);
    ASSERT_TRUE(r.ok) << r.screen;
    EXPECT_EQ(rendered(r.set), c.series);
    EXPECT_EQ(warnings(r.screen), c.warnings) << r.screen;
  }
}

TEST(ReadMeasurementsTest, FilesOfAnotherKindAreRefusedWithTheReason) {
  // Our own chronology file.
  std::ostringstream crn;
  write_modeled_crn(crn, "oak.rwl", "Age Aligned", true, {1.0f, 0.9f, 1.1f, kMissing, 1.2f},
                    {3, 3, 2, 0, 1}, 1903);
  const std::string chronology =
      " The input file holds a chronology (index records with sample depth), not tree-ring "
      "measurements. Program terminating.\n";
  const std::string table =
      " The input file is a table of columns (a year, then one value per series), not "
      "decade-format records of measurements. Program terminating.\n";
  const struct {
    const char* what;
    std::string file;
    std::string message;
  } cases[] = {
      {"KVRmodeled.crn", crn.str(), chronology},
      {"index records without header lines",
       "CAM    626 826 15 919 15 982 15 888 15 923 16 999 17 777 17 888 17 912 17 950 17\n"
       "CAM    6301012 18 995 18 999 18 995 18 999 18 995 18 999 18 995 18 999 189990  0\n",
       chronology},
      {"a table of tabs after # lines",
       "# a template\n# Missing_Values: NA\nage_CE\tS1_raw\tS2_raw\n1902 \tNaN\t-999\t\n"
       "1903\t0.551\t0.62\t\n",
       table},
      {"a table of semicolons", "year;A;B\n1901;12;13\n1902;NA;14.5\n", table},
      {"a table of commas", "year,A\n1901,1.2e-1\n", table},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Reading r = read(c.file);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.screen, "\n" + c.message);
  }
  // Header lines with commas and tabs do not make a table.
  const Reading measurements =
      read("ABC001 1 Site, Country\tPISY\nABC001 2 more, text\nABC001  1901   100   200   999\n");
  EXPECT_TRUE(measurements.ok) << measurements.screen;
}

// The file name is typed behind the prompt: the first warning starts a line of its own even
// when no header line was echoed before it.
TEST(ReadMeasurementsTest, FirstWarningStartsOnANewLine) {
  const Reading r = read("A       1908   100  -999\nA       1910   999\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.screen.rfind("\n Warning: line 1, series \"A\"", 0), 0u) << r.screen;
}

// What the archive files whose habits the reader mends read as: the series named, their
// years and value counts, a few values (thousandths of a millimetre, -1 for missing) and the
// warnings' lines.
struct ArchiveSeries {
  const char* id;
  int first_year;
  int last_year;
  int length;
  std::vector<std::pair<int, long>> values;  // year, value
};

struct ArchiveReading {
  const char* file;
  int series;
  std::vector<ArchiveSeries> checked;
  std::vector<std::string> warnings;  // parts of warnings that must be printed
};

const SeriesInfo* find(const MeasurementSet& set, const std::string& id, int first_year, int* j) {
  for (*j = 1; *j <= set.count(); ++*j) {
    const SeriesInfo& info = set.info(*j);
    if (trim_right(info.id) == id && info.first_year == first_year) return &info;
  }
  return nullptr;
}

TEST(ReadMeasurementsTest, ArchiveFilesReadEveryValueAtItsYear) {
  const std::vector<ArchiveReading> files = {
      {"itrdb_brit020.rwl",
       26,
       {{"569012", 1773, 1978, 206, {{1801, 560}, {1970, -1}, {1971, 650}}},
        {"568112", 1773, 1906, 134, {{1906, 260}}},
        {"568121", 1810, 1978, 169, {{1810, 2850}}}},
       {"line 41, series \"569012\": missing-value code -999 in 1 value from year 1970",
        "line 384, series \"568112\": a record after the end marker (line 383)"}},
      {"itrdb_mong007e.rwl",
       26,
       {{"113021", 1784, 1982, 199, {{1823, 420}, {1824, -1}, {1830, -1}, {1831, 400}}}},
       {"line 50, series \"113021\": missing-value code -999 in 7 values from year 1824"}},
      {"itrdb_paki019.rwl",
       15,
       {{"BabJ04A",
         1676,
         2007,
         332,
         {{1899, 612}, {1900, -1}, {1905, 545}, {1910, -1}, {1929, -1}, {1930, 186}, {2007, 437}}}},
       {"line 27, series \"BabJ04A\": missing-value code -888 in 5 values from year 1900",
        "line 28, series \"BabJ04A\": the record's year 1930 leaves the years 1910 to 1929"}},
      {"itrdb_mexi014.rwl",
       50,
       {{"271141", 1695, 1971, 277, {{1809, 490}, {1810, -1}, {1879, -1}, {1880, 620}}},
        {"271041", 1676, 1969, 294, {{1720, 1500}, {1721, -1}, {1722, -1}, {1723, 1260}}}},
       {"line 498, series \"271141\": the record's year 1880 leaves the years 1810 to 1879",
        "line 67, series \"271041\": the id comes back after its series of line 61 ended"}},
      {"itrdb_dza010.rwl",
       44,
       {{"BES04B", 1945, 2011, 67, {{1951, 2730}, {1952, -1}, {1953, 3420}}}},
       {"line 54, series \"BES04B\": 999 in 1 value from year 1952 is followed by "
        "measurements, so it ends nothing; read as missing"}},
      {"itrdb_germ11.rwl",
       8,
       {{"894121", 1700, 1958, 259, {{1815, 970}, {1816, -1}, {1817, 940}}}},
       {"line 15, series \"894121\": 999 in 1 value from year 1816"}},
      {"itrdb_cana569.rwl",
       81,
       {{"BZR01B", 1907, 2007, 101, {{2005, 999}, {2006, 879}, {2007, 1029}}}},
       {"line 25, series \"BZR01B\": 999 in 1 value from year 2005 is followed by "
        "measurements, so it ends nothing; read as 0.999 mm"}},
      {"itrdb_deu317.rwl",
       26,
       {{"dmm0606m", 1722, 2016, 295, {{1799, 999}, {1800, 787}}}},
       {"line 156, series \"dmm0606m\": 999 in 2 values from year 1799"}},
      {"itrdb_newz016.rwl",
       47,
       {{"OKA724", 1784, 1975, 192, {{1784, 1470}, {1789, 1310}, {1790, 1170}}},
        {"OKA721", 1794, 1976, 183, {{1794, 940}}}},
       {"line 141, series \"OKA724\": the record of \"OKA721\" (1794) follows without an end "
        "marker; the series ends at 1789, in 0.01 mm",
        "line 181, series \"OKA724\": the id comes back after its series of line 140 ended"}},
      {"itrdb_co691.rwl",
       38,
       {{"wpk072", 1136, 2007, 872, {{1277, 448}, {1278, -1}, {1349, -1}, {1350, 212}}},
        {"wpx181", -277, 1018, 1296, {{-270, 707}, {-267, 1022}, {-266, 661}}}},
       {"line 163, series \"wpk072\": the id comes back after its series of line 148 ended",
        "line 440, series \"wpx181\": the values are shifted in their columns"}},
      {"itrdb_or088.rwl",
       36,
       {{"OLF19B-1", 1490, 1703, 214, {{1703, 92}}}, {"OLF19B-2", 1740, 1990, 251, {{1740, 560}}}},
       {"line 1050, series \"OLF19B-2\": the id runs into the year; read as the id "
        "\"OLF19B-2\" and the year 1740"}},
      {"itrdb_ak051.rwl",
       39,
       {{"NCFL06-N", 1828, 2001, 174, {{1828, 912}, {1829, 1145}}}},
       {"line 4, series \"NCFL06-N\": the id runs into the year"}},
      {"itrdb_rus381.rwl",
       205,
       {{"\xD0\x92\xD0\x92"
         "9A",
         1540,
         1631,
         92,
         {{1540, 620}, {1631, 470}}}},
       {"line 785, series \"\xD0\x92\xD0\x92"
        "9A\": the record holds UTF-8 characters"}},
      {"itrdb_mar035.rwl",
       117,
       {{"JAF17A", 1062, 1330, 269, {{1300, 1}, {1301, 190}, {1302, 1}, {1303, 190}}}},
       {"line 1289, series \"JAF17A\": the values are shifted in their columns"}},
  };
  for (const ArchiveReading& f : files) {
    SCOPED_TRACE(f.file);
    const std::filesystem::path path = std::filesystem::path(KVR_SHARED_DATA_DIR) / f.file;
    if (!std::filesystem::exists(path))
      GTEST_SKIP() << "the archive files are not beside the checkout";
    std::ifstream in(path, std::ios::binary);
    const Reading r = read(in);
    ASSERT_TRUE(r.ok) << r.screen;
    EXPECT_EQ(r.set.count(), f.series);
    for (const ArchiveSeries& s : f.checked) {
      int j = 0;
      const SeriesInfo* info = find(r.set, s.id, s.first_year, &j);
      ASSERT_NE(info, nullptr) << s.id << " " << s.first_year;
      EXPECT_EQ(info->last_year, s.last_year) << s.id;
      EXPECT_EQ(info->length, s.length) << s.id;
      for (const auto& [year, value] : s.values) {
        const float v = r.set.values(j, year - s.first_year + 1);
        EXPECT_EQ(is_missing(v) ? -1 : std::lround(v * 1000.0f), value) << s.id << " " << year;
      }
    }
    for (const std::string& warning : f.warnings) {
      EXPECT_NE(r.screen.find(" Warning: " + warning), std::string::npos) << warning;
    }
  }
}

}  // namespace
}  // namespace kvr
