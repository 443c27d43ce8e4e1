// Runs every file of the real tree-ring archive through the program as a user runs it from an
// answers file, age aligned and calendar aligned, with the raw-data plot and the chronology
// plot saved as PostScript without a display. Each run must end normally with every file
// written, and the decade files must read back to the values of the result table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "answers.h"
#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "decade_reading.h"
#include "index_reading.h"
#include "test_support.h"
#include "text_helpers.h"

namespace kvr::test {
namespace {

// One archive file and the layouts its two runs use. Age aligned: option 1 with a fixed class
// size and a RAC index. Calendar aligned: the power transformation, then option 2 with the
// optimum common interval of the data summary as the RAC. Both keep the class count far below
// 250 (the longest series and the time span are given for that check).
struct ArchiveCase {
  const char* file;
  int longest_length;
  int time_span;
  int class_size;
  int rac_index;
  int rac_first_year;
  int rac_last_year;
};

constexpr ArchiveCase kCases[] = {
    {"itrdb_brit020.rwl", 206, 206, 20, 2, 1838, 1978},    // -999 inside series
    {"itrdb_ca533.rwl", 1343, 1358, 100, 3, 1247, 1968},   // CR LF, 3-digit years
    {"itrdb_ca708.rwl", 3205, 3268, 100, 5, 461, 1560},    // a series of 3205 values
    {"itrdb_co691.rwl", 1341, 2372, 100, 2, 1350, 1783},   // tab, segments join
    {"itrdb_egy002.rwl", 123, 151, 20, 2, -2182, -2122},   // BC years in 5-wide fields
    {"itrdb_neth012.rwl", 109, 109, 20, 2, -51, 21},       // years across 0, RAC at the end
    {"itrdb_ok049l.rwl", 277, 277, 20, 2, 1946, 2019},     // 446 series, long records
    {"itrdb_rus393.rwl", 83, 84, 10, 2, 1990, 2014},       // data lines end in a bare CR
    {"itrdb_swed334.rwl", 609, 7418, 25, 3, 1836, 1976},   // 945 series over 7418 years
    {"itrdb_turk045.rwl", 140, 264, 20, 2, -2047, -1983},  // CR only, no final line end
    {"itrdb_tx042.rwl", 487, 520, 50, 2, 1706, 1944},      // 0.001 mm, three header lines
    // Files of archive habits that the reader mends.
    {"itrdb_mong007e.rwl", 395, 426, 20, 2, 1772, 1951},  // runs of -999
    {"itrdb_paki019.rwl", 362, 362, 20, 2, 1848, 1983},   // -888, decades left out
    {"itrdb_mexi014.rwl", 309, 330, 20, 2, 1787, 1950},   // a jump of 80 years
    {"itrdb_dza010.rwl", 119, 125, 10, 2, 1962, 2011},    // 999 as a filler
    {"itrdb_germ11.rwl", 389, 389, 20, 2, 1760, 1958},    // 999 as a filler
    {"itrdb_cana569.rwl", 328, 541, 20, 2, 1933, 2007},   // 999 = 0.999 mm
    {"itrdb_deu317.rwl", 323, 323, 20, 2, 1769, 2016},    // 999 = 0.999 mm ends a record
    {"itrdb_newz016.rwl", 229, 245, 20, 2, 1828, 1975},   // a lost end marker
    {"itrdb_rus381.rwl", 216, 364, 20, 2, 1738, 1817},    // ids in UTF-8
    {"itrdb_or088.rwl", 722, 803, 50, 2, 1675, 1990},     // ids ending in -1 / -2 abut the year
    {"itrdb_ak051.rwl", 174, 174, 10, 2, 1910, 2000},     // ids ending in -N abut the year
    {"itrdb_mar035.rwl", 778, 1123, 50, 2, 1754, 1965},   // values shifted by a column
};

// Files the program must refuse, with the message that says why.
struct RefusedFile {
  const char* file;
  const char* message;
};

constexpr RefusedFile kRefusedFiles[] = {
    {"itrdb_neth031.rwl",
     "\n The file holds more than 1001 series, the limit; series 1002 is \"SPA11\" (1931 to "
     "1989). Program terminating.\n"},
    // A NOAA template of densities whose series hold only missing values.
    {"itrdb_cypr011t-noaa.rwl", "\n No series of the file holds a value. Program terminating.\n"},
};

// Every plot saved; the age-aligned run without the power transformation, the
// calendar-aligned one with it.
Answers age_answers(const ArchiveCase& c) {
  return saved_plots_answers(c.file, false, 1, Answers().fixed_classes(c.class_size, c.rac_index));
}

Answers calendar_answers(const ArchiveCase& c) {
  return saved_plots_answers(c.file, true, 2,
                             Answers().rac_bounds(c.rac_first_year, c.rac_last_year));
}

// A number of the result table and half a unit of its last printed digit.
struct Printed {
  double value = 0.0;
  double half_unit = 0.0;
};

// Reads the next blank-separated item of [*p, end) and moves *p behind it; false when the
// line holds no further item. (The tables of the largest files hold millions of items, so
// this walks the text instead of going through a stream.)
bool next_item(const char** p, const char* end, Printed* item) {
  const char* q = *p;
  while (q < end && *q == ' ') ++q;
  if (q == end) return false;
  const char* item_end = q;
  while (item_end < end && *item_end != ' ') ++item_end;
  const std::string text(q, item_end);
  *p = item_end;
  item->value = std::strtod(text.c_str(), nullptr);
  item->half_unit = 0.0;
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return true;  // an integer
  const std::size_t exponent = text.find('E');
  const std::size_t digits_end = exponent == std::string::npos ? text.size() : exponent;
  const int decimals = static_cast<int>(digits_end - point - 1);
  const int power = exponent == std::string::npos ? 0 : std::atoi(text.c_str() + exponent + 1);
  item->half_unit = 0.5 * std::pow(10.0, power - decimals);
  return true;
}

// What the result table says about one run.
struct ResultTable {
  std::vector<std::string> ids;
  std::vector<int> years;
  std::vector<int> depths;
  std::vector<Printed> robust_mean;
  // Per series its non-missing values with their years, in year order.
  std::vector<std::vector<std::pair<int, Printed>>> values;
};

bool parse_result_table(const std::string& text, ResultTable* table) {
  std::size_t line_start = 0;
  auto next_line = [&](std::string_view* line) {
    if (line_start >= text.size()) return false;
    std::size_t line_end = text.find('\n', line_start);
    if (line_end == std::string::npos) line_end = text.size();
    *line = std::string_view(text).substr(line_start, line_end - line_start);
    line_start = line_end + 1;
    return true;
  };
  std::string_view line;
  for (int header = 1; header <= 3; ++header) {
    if (!next_line(&line)) return false;
  }
  // The column row: " #yr", then tab-separated names; the ids follow the six fixed columns.
  std::size_t column_start = 0;
  for (int column = 1;; ++column) {
    const std::size_t tab = line.find('\t', column_start);
    if (column > 6) table->ids.emplace_back(line.substr(column_start, tab - column_start));
    if (tab == std::string_view::npos) break;
    column_start = tab + 1;
  }
  const std::size_t series = table->ids.size();
  table->values.assign(series, {});
  std::vector<Printed> items(6 + series);
  while (next_line(&line)) {
    const char* p = line.data();
    const char* end = p + line.size();
    std::size_t count = 0;
    Printed item;
    while (next_item(&p, end, &item)) {
      if (count == items.size()) return false;
      items[count++] = item;
    }
    if (count != items.size()) return false;
    const int year = static_cast<int>(items[0].value);
    table->years.push_back(year);
    table->depths.push_back(static_cast<int>(items[1].value));
    table->robust_mean.push_back(items[3]);
    for (std::size_t i = 0; i < series; ++i) {
      const Printed& v = items[6 + i];
      if (static_cast<float>(v.value) != kMissing) table->values[i].emplace_back(year, v);
    }
  }
  return true;
}

// True when `field` (a value written in units of 0.001) is the printed value rounded to
// 0.001: the run rounded the exact value, which lies within half a printed unit of what the
// table shows. The decade writer writes 999 as 1000.
bool matches_thousandths(int field, const Printed& printed) {
  const double scaled = printed.value * 1000.0;
  const double tolerance = 0.5 + 1000.0 * printed.half_unit + 1e-6;
  if (std::fabs(field - scaled) <= tolerance) return true;
  return field == 1000 && std::fabs(999.0 - scaled) <= tolerance;
}

int thousandths(float v) { return static_cast<int>(std::lround(static_cast<double>(v) * 1000.0)); }

// Characters of the id that the decade records of a series starting in this year hold: the
// full id (8 characters for measurements, 6 for the chronology), one fewer beside a 5-wide
// year, two fewer beside a 6-wide one.
std::size_t id_width(std::size_t full, int first_year) {
  if (first_year >= -999) return full;
  if (first_year >= -9999 && first_year != -1000) return full - 1;
  return full - 2;
}

// Reads "KVRmodeled.raw" back in mode "mr" and compares every series with the table.
void expect_raw_matches(const std::string& raw, const ResultTable& table, const char* label) {
  const DecadeReading read = read_decade(raw);
  EXPECT_EQ(read.kinds.back(), SeriesRead::Kind::kEndOfFile) << label;
  EXPECT_EQ(std::count(read.kinds.begin(), read.kinds.end(), SeriesRead::Kind::kSeries),
            static_cast<std::ptrdiff_t>(read.series.size()))
      << label << ": a series too long";
  std::size_t next = 0;
  for (std::size_t i = 0; i < table.ids.size(); ++i) {
    const std::vector<std::pair<int, Printed>>& expected = table.values[i];
    if (expected.empty()) continue;  // a series without values is not written
    ASSERT_LT(next, read.series.size()) << label << ": series " << i + 1 << " " << table.ids[i];
    const TrrwSeries& series = read.series[next++];
    const int first_year = expected.front().first;
    EXPECT_EQ(trim_right(series.id), trim_right(table.ids[i].substr(0, id_width(8, first_year))))
        << label << ": series " << i + 1;
    EXPECT_EQ(series.first_year, first_year) << label << ": " << table.ids[i];
    // The values written, with their years. A missing value inside a series is written as -999
    // and reads back as missing, so each value keeps its year.
    std::vector<std::pair<int, int>> written;
    for (int k = 0; k < series.count; ++k) {
      const float v = series.values[static_cast<std::size_t>(k)];
      if (!is_missing(v)) written.emplace_back(series.first_year + k, thousandths(v));
    }
    ASSERT_EQ(written.size(), expected.size()) << label << ": " << table.ids[i];
    int mismatches = 0;
    for (std::size_t k = 0; k < expected.size() && mismatches < 5; ++k) {
      const auto& [year, field] = written[k];
      if (!matches_thousandths(field, expected[k].second) || year != expected[k].first) {
        ++mismatches;
        ADD_FAILURE() << label << ": " << table.ids[i] << " year " << expected[k].first
                      << ": KVRmodeled.raw holds " << field << " in " << year << ", the table "
                      << expected[k].second.value;
      }
    }
  }
  EXPECT_EQ(next, read.series.size())
      << label << ": KVRmodeled.raw holds more series than the table";
}

// True when the printed chronology value fits the four-column index field (-999 to 9989
// thousandths); the run writes any other value as the filler, as missing.
bool fits_index_field(const Printed& printed) {
  const double scaled = printed.value * 1000.0;
  return scaled > -999.5 && scaled < 9989.5;
}

// Reads "KVRmodeled.crn" back with the reference index reader and compares it with the table's RobM
// and SD. Returns the number of years whose value the index field cannot hold.
int expect_crn_matches(const std::string& crn, const ResultTable& table, const char* label) {
  const IndexReading reading = read_index(crn);
  EXPECT_FALSE(reading.series.empty()) << label;
  if (reading.series.empty() || table.years.empty()) return 0;
  const TrrwSeries& chronology = reading.series.front();
  EXPECT_EQ(trim_right(chronology.id),
            std::string("KVRcrn").substr(0, id_width(6, table.years.front())))
      << label;
  EXPECT_EQ(chronology.first_year, table.years.front()) << label;
  // Years after the last written value read as the end of the chronology.
  EXPECT_LE(chronology.count, static_cast<int>(table.years.size())) << label;
  int unwritable = 0;
  int mismatches = 0;
  for (std::size_t y = 0; y < table.years.size() && mismatches < 5; ++y) {
    const Printed& robust_mean = table.robust_mean[y];
    const bool read = static_cast<int>(y) < chronology.count;
    const float value = read ? chronology.values[y] : kMissing;
    const int depth = read ? chronology.depths[y] : 0;
    bool same = false;
    if (static_cast<float>(robust_mean.value) == kMissing) {
      same = is_missing(value) && depth == 0 && table.depths[y] == 0;
    } else if (!fits_index_field(robust_mean)) {
      ++unwritable;
      same = is_missing(value) && depth == 0;
    } else {
      same = !is_missing(value) && matches_thousandths(thousandths(value), robust_mean) &&
             depth == table.depths[y];
    }
    if (!same) {
      ++mismatches;
      ADD_FAILURE() << label << ": year " << table.years[y] << ": KVRmodeled.crn holds " << value
                    << " (depth " << depth << "), the table " << robust_mean.value << " (SD "
                    << table.depths[y] << ")";
    }
  }
  return unwritable;
}

void run_archive_case(const ArchiveCase& c, bool age_aligned) {
  const std::string label = std::string(c.file) + (age_aligned ? ", age" : ", calendar");
  // Far fewer classes than the permitted 250 either way.
  ASSERT_LE(c.longest_length / c.class_size + 1, kMaxAgeClasses) << label;
  ASSERT_LE(c.time_span / (c.rac_last_year - c.rac_first_year) + 1, kMaxAgeClasses) << label;

  KVR_SKIP_WITHOUT_ARCHIVE_FILE(c.file);
  ScopedTempDir dir;
  const std::string original = read_file(archive_file(c.file));
  ASSERT_FALSE(original.empty()) << label;
  write_file(c.file, original);
  write_file("answers.txt", (age_aligned ? age_answers(c) : calendar_answers(c)).text());
  const ProgramRun run = run_program("answers.txt", "DISPLAY=");

  ASSERT_EQ(run.exit_status, 0) << label << "\n" << run.output;
  EXPECT_TRUE(contains(run.output, "\n Normal Termination of Program\n Hit RETURN to EXIT\n"))
      << label;
  EXPECT_EQ(read_file(c.file), original) << label << ": the input file changed";

  const std::string table_text = read_file(std::string(c.file) + "_KVR.txt");
  const std::string raw = read_file("KVRmodeled.raw");
  const std::string crn = read_file("KVRmodeled.crn");
  const std::string knmi = read_file("KVRchron_KNMI.txt");
  std::vector<std::string> figures = {"KVR_fig1.ps", "KVR_fig2.ps"};
  if (!age_aligned) figures.push_back("KVR_fig1b.ps");
  for (const std::string& figure : figures) {
    EXPECT_EQ(read_file(figure).rfind("%!PS", 0), 0u) << label << ": " << figure;
  }
  if (age_aligned) {
    EXPECT_FALSE(std::filesystem::exists("KVR_fig1b.ps")) << label;
  }

  ResultTable table;
  ASSERT_TRUE(parse_result_table(table_text, &table)) << label;
  ASSERT_EQ(static_cast<int>(table.years.size()), c.time_span) << label;
  // The KNMI file: three header lines and one row per year.
  EXPECT_EQ(static_cast<int>(std::count(knmi.begin(), knmi.end(), '\n')), c.time_span + 3) << label;
  expect_raw_matches(raw, table, label.c_str());
  const int unwritable = expect_crn_matches(crn, table, label.c_str());
  // Such years are named on the screen.
  EXPECT_EQ(contains(run.output, " years of the chronology (from "), unwritable > 0) << label;
}

void PrintTo(const ArchiveCase& c, std::ostream* out) { *out << c.file; }

class ArchiveRunTest : public testing::TestWithParam<ArchiveCase> {};

TEST_P(ArchiveRunTest, AgeAlignedRunWritesEveryFile) { run_archive_case(GetParam(), true); }

TEST_P(ArchiveRunTest, CalendarAlignedRunWritesEveryFile) { run_archive_case(GetParam(), false); }

INSTANTIATE_TEST_SUITE_P(Archive, ArchiveRunTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ArchiveCase>& param) {
                           std::string name = param.param.file;
                           name = name.substr(0, name.find('.'));
                           for (char& ch : name) {
                             if (ch == '_') ch = 'X';
                           }
                           return name;
                         });

TEST(ArchiveFilesTest, EveryArchiveFileHasARun) {
  if (!std::filesystem::is_directory(KVR_SHARED_DATA_DIR)) {
    GTEST_SKIP() << "no archive folder " << KVR_SHARED_DATA_DIR;
  }
  std::set<std::string> covered;
  for (const RefusedFile& refused : kRefusedFiles) covered.insert(refused.file);
  for (const ArchiveCase& c : kCases) covered.insert(c.file);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KVR_SHARED_DATA_DIR)) {
    if (entry.path().extension() != ".rwl") continue;
    ++files;
    EXPECT_EQ(covered.count(entry.path().filename().string()), 1u)
        << entry.path().filename() << " has no run in this test";
  }
  EXPECT_EQ(files, static_cast<int>(covered.size()));
}

TEST(ArchiveFilesTest, FilesTheProgramCannotUseAreRefused) {
  for (const RefusedFile& refused : kRefusedFiles) {
    SCOPED_TRACE(refused.file);
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(refused.file);
    ScopedTempDir dir;
    const std::string original = read_file(archive_file(refused.file));
    ASSERT_FALSE(original.empty());
    write_file(refused.file, original);
    write_file("answers.txt", Answers()
                                  .start(refused.file)
                                  .yes()
                                  .line("s")
                                  .line("c")
                                  .no()
                                  .number(1)
                                  .fixed_classes(20, 2)
                                  .text());
    const ProgramRun run = run_program("answers.txt", "DISPLAY=");
    EXPECT_NE(run.exit_status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, refused.message)) << run.output;
    EXPECT_FALSE(contains(run.output, "Normal Termination"));
    EXPECT_FALSE(contains(run.output, "Plot raw data?"));
    for (const char* name : {"KVRmodeled.raw", "KVRmodeled.crn", "KVRchron_KNMI.txt"}) {
      EXPECT_FALSE(std::filesystem::exists(name)) << name;
    }
    EXPECT_EQ(read_file(refused.file), original);
  }
}

}  // namespace
}  // namespace kvr::test
