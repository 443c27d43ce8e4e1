// The archive's NOAA template files read beside the decade files they were made from, and the
// recognition of either kind over the archive's files. Each test skips when its files are not
// there.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "answers.h"
#include "decade_columns.h"
#include "formats/column_table.h"
#include "formats/noaa_template.h"
#include "in_process_run.h"
#include "test_support.h"

namespace kvr::test {
namespace {

std::string head_of(const std::string& bytes, bool* whole) {
  *whole = bytes.size() <= 65536;
  return bytes.substr(0, 65536);
}

std::vector<DecadeColumn> decade_file(const std::string& name) {
  std::ifstream in(archive_file(name), std::ios::binary);
  return decade_columns(in);
}

NoaaReading template_file(const std::string& bytes) {
  std::istringstream in(bytes);
  return read_noaa_template(in);
}

// The same series, ids and years, and the same values above zero: the archive wrote every
// missing value of the decade file as 0 in the template.
TEST(NoaaArchiveTest, TemplatesReadLikeTheirDecadeFiles) {
  const struct {
    const char* noaa;
    const char* decade;
    std::vector<int> warning_lines;  // lines without their '#' before the data header
    const char* site;                // site, latitude, elevation, species code, time unit
  } files[] = {
      {"itrdb_tx042-rwl-noaa.txt",
       "itrdb_tx042.rwl",
       {},
       "Big Bend National Park incl. Camp Springs|29.25|2057|PSME|CE"},
      {"itrdb_egy002-rwl-noaa.txt",
       "itrdb_egy002.rwl",
       {55},
       "Ipi-ha-ishutef Coffin|29.8667||CDLI|AD"},
      {"itrdb_paki019-rwl-noaa.txt", "itrdb_paki019.rwl", {}, "Babusar|35.1667|3200|JUEX|CE"},
      {"itrdb_mong007e-rwl-noaa.txt",
       "itrdb_mong007e.rwl",
       {},
       "Turgen-charchira mountai|49.7|2000|LAGM|CE"},
      {"itrdb_rus381-rwl-noaa.txt", "itrdb_rus381.rwl", {}, "Vologda|59.22||MIXD|CE"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.noaa);
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(f.noaa);
    KVR_SKIP_WITHOUT_ARCHIVE_FILE(f.decade);
    const std::string bytes = read_file(archive_file(f.noaa));
    bool whole = false;
    const std::string head = head_of(bytes, &whole);
    EXPECT_TRUE(looks_like_noaa_template(head, whole));
    EXPECT_FALSE(looks_like_column_table(head, whole));
    const NoaaReading r = template_file(bytes);
    ASSERT_FALSE(r.table.refused()) << describe(r.table.refusal);
    const NoaaMetadata& m = r.metadata;
    EXPECT_EQ(m.site_name + "|" + m.northernmost_latitude + "|" + m.elevation + "|" +
                  m.species_code + "|" + m.time_unit,
              f.site);
    EXPECT_FALSE(m.study_name.empty() || m.investigators.empty());
    std::vector<int> warning_lines;
    for (const TableWarning& w : r.table.warnings) {
      EXPECT_EQ(w.kind, TableWarningKind::kUncommentedLine) << describe(w);
      warning_lines.push_back(w.line_number);
    }
    EXPECT_EQ(warning_lines, f.warning_lines);

    const std::vector<DecadeColumn> decade = decade_file(f.decade);
    std::map<std::string, const TableSeries*> by_id;
    for (const TableSeries& s : r.table.series) by_id.emplace(s.id, &s);
    EXPECT_EQ(by_id.size(), r.table.series.size()) << "ids repeated";
    EXPECT_EQ(r.table.series.size(), decade.size());
    for (const DecadeColumn& d : decade) {
      const auto found = by_id.find(d.id);
      if (found == by_id.end()) {
        ADD_FAILURE() << d.id << " is not in the template";
        continue;
      }
      EXPECT_EQ(difference(d, *found->second, true), "");
    }
  }
}

// `text` from its line `first` on (lines counted from 1).
std::string from_line(const std::string& text, int first) {
  std::size_t at = 0;
  for (int line = 1; line < first && at != std::string::npos; ++line) at = text.find('\n', at) + 1;
  return at == std::string::npos ? "" : text.substr(at);
}

// A whole run on the template gives the chronology of its decade file, in both alignments:
// the same rows of the result table and the same decade outputs, apart from the lines that
// name the input file.
TEST(NoaaArchiveTest, TemplateRunGivesTheChronologyOfItsDecadeFile) {
  KVR_SKIP_WITHOUT_ARCHIVE_FILE("itrdb_tx042-rwl-noaa.txt");
  KVR_SKIP_WITHOUT_ARCHIVE_FILE("itrdb_tx042.rwl");
  const std::string noaa = "itrdb_tx042-rwl-noaa.txt";
  const std::string decade = "itrdb_tx042.rwl";
  for (const int alignment : {1, 2}) {
    SCOPED_TRACE(alignment);
    const InProcessRun from_noaa = run_in_process(plain_answers(noaa, alignment, 50, 2).text(),
                                                  noaa, read_file(archive_file(noaa)));
    const InProcessRun from_decade = run_in_process(plain_answers(decade, alignment, 50, 2).text(),
                                                    decade, read_file(archive_file(decade)));
    ASSERT_EQ(from_noaa.status, 0) << from_noaa.screen;
    ASSERT_EQ(from_decade.status, 0) << from_decade.screen;
    EXPECT_EQ(from_line(from_noaa.file(noaa + "_KVR.txt"), 3),
              from_line(from_decade.file(decade + "_KVR.txt"), 3));
    for (const char* file : {"KVRmodeled.raw", "KVRmodeled.crn", "KVRchron_KNMI.txt"}) {
      EXPECT_EQ(from_line(from_noaa.file(file), 2), from_line(from_decade.file(file), 2)) << file;
    }
  }
}

// A template of latewood densities in g/dm whose 24 series hold only NaN and -999: read with
// the warning that the values are no ring widths, each series left out, the file refused.
TEST(NoaaArchiveTest, DensityTemplateOfMissingValuesOnly) {
  KVR_SKIP_WITHOUT_ARCHIVE_FILE("itrdb_cypr011t-noaa.rwl");
  const std::string bytes = read_file(archive_file("itrdb_cypr011t-noaa.rwl"));
  bool whole = false;
  EXPECT_TRUE(looks_like_noaa_template(head_of(bytes, &whole), whole));
  const NoaaReading r = template_file(bytes);
  // Elevation under its other name.
  EXPECT_EQ(r.metadata.site_name + "|" + r.metadata.elevation + "|" + r.metadata.species_code,
            "Stavros (mittel)|800|PIBR");
  ASSERT_FALSE(r.table.warnings.empty());
  EXPECT_EQ(describe(r.table.warnings[0]),
            " Warning: line 80, series \"634011\": the values of 24 series from this one are "
            "latewood density in gram per decimeter, not ring widths in mm; read as they are");
  int left_out = 0;
  for (const TableWarning& w : r.table.warnings) {
    left_out += w.kind == TableWarningKind::kNoValues ? 1 : 0;
  }
  EXPECT_EQ(left_out, 24);
  EXPECT_EQ(r.table.refusal.kind, TableRefusalKind::kNoValues);
}

// No decade file of the archive is taken for a template or a column table.
TEST(NoaaArchiveTest, DecadeFilesAreOfNeitherKind) {
  KVR_SKIP_WITHOUT_ARCHIVE_FILE("itrdb_ca533.rwl");
  int files = 0;
  for (const std::filesystem::directory_entry& entry :
       std::filesystem::directory_iterator(archive_file("itrdb_ca533.rwl").parent_path())) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".rwl" || name.find("noaa") != std::string::npos) continue;
    ++files;
    bool whole = false;
    const std::string head = head_of(read_file(entry.path()), &whole);
    EXPECT_FALSE(looks_like_noaa_template(head, whole)) << name;
    EXPECT_FALSE(looks_like_column_table(head, whole)) << name;
  }
  EXPECT_GE(files, 20);
}

}  // namespace
}  // namespace kvr::test
