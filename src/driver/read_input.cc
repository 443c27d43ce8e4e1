#include "driver/read_input.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "data/file_kind.h"
#include "data/series_assembly.h"
#include "data/trrw.h"
#include "io/line_reader.h"

namespace kvr {
namespace {

// The years that the decade-format result files can hold: a year field of at most six
// columns with its minus sign, and of four columns for years from 0 on.
constexpr int kEarliestWritableYear = -99999;
constexpr int kLatestWritableYear = 9999;

std::string years_of(const SeriesInfo& info) {
  return std::to_string(info.first_year) + " to " + std::to_string(info.last_year);
}

std::string name_of(const SeriesInfo& info) {
  std::string name = "\"";
  name.append(trim_right(info.id)).append("\" (").append(years_of(info)).append(")");
  return name;
}

SeriesInfo info_of(const TrrwSeries& series) {
  SeriesInfo info;
  info.id = pad_right(series.id, 8);
  info.first_year = series.first_year;
  info.length = series.count;
  info.last_year = info.first_year + info.length - 1;
  return info;
}

// The console lines of the reading. The file name is typed behind its prompt, which has no
// line end of its own: the first line starts on a new one unless the echo of text records
// already did.
class ReadingConsole {
 public:
  explicit ReadingConsole(Console& console) : console_(console) {}

  void line(const std::string& text) {
    if (on_prompt_line_) console_.line("");
    on_prompt_line_ = false;
    console_.line(text);
  }
  // Passes on what the reader echoed (its text records start with an empty line).
  void echo(std::string* echoed) {
    if (echoed->empty()) return;
    console_.out() << *echoed;
    echoed->clear();
    on_prompt_line_ = false;
  }

 private:
  Console& console_;
  bool on_prompt_line_ = true;
};

// One warning per series whose id an earlier series still has (its years overlap, so they
// did not join), naming both first lines.
void warn_duplicate_ids(ReadingConsole& console, const std::vector<TrrwSeries>& all) {
  std::map<std::string, std::size_t> first_with_id;
  for (std::size_t j = 0; j < all.size(); ++j) {
    const std::string id = pad_right(all[j].id, 8);
    const auto [earlier, added] = first_with_id.emplace(id, j);
    if (added) continue;
    console.line(" Warning: line " + std::to_string(all[j].first_line) + ", series \"" +
                 trim_right(id) + "\": the id of series " + std::to_string(earlier->second + 1) +
                 " (line " + std::to_string(all[earlier->second].first_line) + ") again");
  }
}

// Refuses a file of another kind; true when it was refused.
bool refuse_other_kind(LineReader& lines, ReadingConsole& console) {
  bool whole = false;
  const std::string_view head = lines.head(&whole);
  switch (file_kind(head, whole)) {
    case FileKind::kMeasurements:
      return false;
    case FileKind::kChronology:
      console.line(
          " The input file holds a chronology (index records with sample depth), not "
          "tree-ring measurements. Program terminating.");
      return true;
    case FileKind::kColumnTable:
      console.line(
          " The input file is a table of columns (a year, then one value per series), not "
          "decade-format records of measurements. Program terminating.");
      return true;
  }
  return false;
}

}  // namespace

bool read_measurements(std::istream& in, Console& plain_console, MeasurementSet* set) {
  ReadingConsole console(plain_console);
  LineReader lines(in);
  if (refuse_other_kind(lines, console)) return false;

  TrrwReadState state;
  const ReadReport& report = state.report;
  SeriesAssembly assembly(kMaxPositions);
  TrrwSeries buffer;
  // The warnings of the reading so far, in the order of their lines. A limit that ends the
  // run prints them first: they often explain it.
  const auto print_reading_report = [&] {
    std::vector<ReadAnomaly> all = report.anomalies;
    all.insert(all.end(), assembly.notes().begin(), assembly.notes().end());
    std::stable_sort(all.begin(), all.end(), [](const ReadAnomaly& a, const ReadAnomaly& b) {
      return a.line_number < b.line_number;
    });
    for (const ReadAnomaly& anomaly : all) console.line(describe(anomaly));
  };

  for (;;) {
    const TrrwStatus status =
        trrw_read(lines, ReadMode::kMeasurements, kMaxPositions, &buffer, &state);
    console.echo(&state.echo);
    if (status == TrrwStatus::kTooManyTextLines) return false;
    if (status == TrrwStatus::kEndOfFile) {
      if (const DroppedSeries& dropped = state.dropped; dropped.line_number > 0) {
        ReadAnomaly cut;
        cut.kind = ReadAnomalyKind::kCutByEndOfFile;
        cut.line_number = dropped.line_number;
        cut.id = dropped.id;
        cut.year = dropped.first_year;
        state.report.anomalies.push_back(cut);
      }
      break;
    }
    const SeriesInfo info = info_of(buffer);
    if (status == TrrwStatus::kSeriesTooLong) {
      print_reading_report();
      console.line(" Series " + name_of(info) + " holds " + std::to_string(info.length) +
                   " values; the limit is " + std::to_string(kMaxPositions) +
                   " values per series. Program terminating.");
      return false;
    }
    // Such a series could be analysed, but its results could not be written back.
    if (info.length >= 1 &&
        (info.first_year < kEarliestWritableYear || info.last_year > kLatestWritableYear)) {
      print_reading_report();
      console.line(" Series " + name_of(info) + " has years outside " +
                   std::to_string(kEarliestWritableYear) + " to " +
                   std::to_string(kLatestWritableYear) +
                   ", the years that KVRmodeled.raw and KVRmodeled.crn can hold. Program "
                   "terminating.");
      return false;
    }
    if (info.length < 1) {
      ReadAnomaly empty;
      empty.kind = ReadAnomalyKind::kNoValues;
      empty.line_number = buffer.first_line;
      empty.id = buffer.id;
      state.report.anomalies.push_back(empty);
    }
    if (assembly.add(buffer) == static_cast<std::size_t>(kMaxSeries)) {
      print_reading_report();
      console.line(" The file holds more than " + std::to_string(kMaxSeries) +
                   " series, the limit; series " + std::to_string(kMaxSeries + 1) + " is " +
                   name_of(info) + ". Program terminating.");
      return false;
    }
  }

  assembly.finish();
  print_reading_report();
  const std::vector<TrrwSeries>& all = assembly.series();
  if (all.empty()) {
    console.line(" The input file holds no tree-ring series. Program terminating.");
    return false;
  }
  for (const TrrwSeries& series : all) {
    const SeriesInfo info = info_of(series);
    if (info.last_year > set->latest_last_year) set->latest_last_year = info.last_year;
    if (info.first_year < set->earliest_first_year) set->earliest_first_year = info.first_year;
    if (info.length > set->longest_length) set->longest_length = info.length;
    set->series.push_back(info);
  }
  set->time_span = set->latest_last_year - set->earliest_first_year + 1;
  if (set->time_span > kMaxPositions) {
    const SeriesInfo* earliest = nullptr;
    const SeriesInfo* latest = nullptr;
    for (const SeriesInfo& info : set->series) {
      if (earliest == nullptr || info.first_year < earliest->first_year) earliest = &info;
      if (latest == nullptr || info.last_year > latest->last_year) latest = &info;
    }
    console.line(" The series span " + std::to_string(set->time_span) + " years, from series " +
                 name_of(*earliest) + " to series " + name_of(*latest) + "; the limit is " +
                 std::to_string(kMaxPositions) + " years. Program terminating.");
    return false;
  }

  warn_duplicate_ids(console, all);
  set->values.reset(set->count(), set->positions_needed(), kMissing);
  for (int j = 1; j <= set->count(); ++j) {
    SeriesInfo& info = set->info(j);
    info.start_position = info.first_year - set->earliest_first_year + 1;
    const std::vector<float>& series_values = all[static_cast<std::size_t>(j - 1)].values;
    for (int i = 1; i <= info.length; ++i) {
      const float v = series_values[static_cast<std::size_t>(i - 1)];
      set->values(j, i) = v == 0.0f ? 0.001f : v;
    }
  }
  return true;
}

}  // namespace kvr
