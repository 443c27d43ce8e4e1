#include "formats/file_kind.h"

#include <string>

#include "formats/column_table.h"
#include "formats/column_view.h"
#include "formats/measurement_record.h"
#include "formats/noaa_template.h"
#include "io/line_reader.h"
#include "io/view_input.h"

namespace kvr {
namespace {

// Lines judged at most.
constexpr int kLinesJudged = 50;

// Columns first..last hold an integer with nothing after its digits, or only blanks.
bool right_aligned(const std::string& columns, int first, int last, bool may_be_blank) {
  int value = 0;
  if (!read_int_field(columns, first, last, &value)) return false;
  bool digits = false;
  for (int column = first; column <= last; ++column) {
    const char c = columns[static_cast<std::size_t>(column - 1)];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (digits) {
      return false;
    }
  }
  return digits || may_be_blank;
}

// An index record: id, year in columns 7-10 (5-10, 6-10 for variants B and C), then ten pairs
// of a value in 4 columns and a sample depth in 3, each right-aligned or blank.
bool index_shaped(const std::string& columns) {
  int year_first = 7;
  if (columns[5] == '-') {
    year_first = 6;
  } else if (columns[4] == '-') {
    year_first = 5;
  }
  if (!right_aligned(columns, year_first, 10, false)) return false;
  bool any_value = false;
  for (int k = 0; k < 10; ++k) {
    const int first = 11 + 7 * k;
    if (!right_aligned(columns, first, first + 3, true) ||
        !right_aligned(columns, first + 4, first + 6, true)) {
      return false;
    }
    if (columns.compare(static_cast<std::size_t>(first - 1), 4, "    ") != 0) any_value = true;
  }
  return any_value;
}

// An index file: of the first kLinesJudged lines of `head` that are records of either kind,
// as the line reader gives them (tabs expanded to the columns of decade records), more are
// index records. A last line that the end of `head` may have cut is left out.
bool chronology(std::string_view head, bool whole) {
  if (!whole) head = head.substr(0, head.find_last_of("\r\n") + 1);
  ViewInput in(head);
  LineReader reader(in);
  std::string line;
  ColumnView view;
  MeasurementRecord record;
  int index_lines = 0;
  int measurement_lines = 0;
  while (index_lines + measurement_lines < kLinesJudged && reader.next(&line)) {
    view.assign(line);
    if (read_measurement_record(view, &record) == LineKind::kRecord && record.bad_fields == 0 &&
        record.right_aligned) {
      ++measurement_lines;
    } else if (index_shaped(view.columns())) {
      ++index_lines;
    }
  }
  return index_lines > measurement_lines;
}

}  // namespace

FileKind file_kind(std::string_view head, bool whole) {
  if (looks_like_noaa_template(head, whole)) return FileKind::kNoaaTemplate;
  if (looks_like_column_table(head, whole)) return FileKind::kColumnTable;
  if (chronology(head, whole)) return FileKind::kChronology;
  return FileKind::kMeasurements;
}

}  // namespace kvr
