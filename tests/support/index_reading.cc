#include "index_reading.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "formats/decade_format.h"
#include "io/line_reader.h"

namespace kvr::test {
namespace {

constexpr int kRecordColumns = 80;

struct IndexRecord {
  std::string id;  // 8 characters
  int year = 0;
  std::array<int, 10> values{};
  std::array<int, 10> depths{};
};

bool columns_blank(const std::string& record, int first, int last) {
  for (int column = first; column <= last; ++column) {
    if (record[static_cast<std::size_t>(column - 1)] != ' ') return false;
  }
  return true;
}

bool parse_index_record(const std::string& record, IndexRecord* r) {
  int id_width = 6;
  if (record[5] == '-') {
    id_width = 5;
  } else if (record[4] == '-') {
    id_width = 4;
  }
  if (!read_int_field(record, id_width + 1, 10, &r->year)) return false;
  for (int k = 0; k < 10; ++k) {
    const int first = 11 + 7 * k;
    const auto slot = static_cast<std::size_t>(k);
    if (!read_int_field(record, first, first + 3, &r->values[slot]) ||
        !read_int_field(record, first + 4, first + 6, &r->depths[slot])) {
      return false;
    }
  }
  // Characters 7 and 8 of the id are blank in every variant.
  r->id.assign(record, 0, static_cast<std::size_t>(id_width));
  r->id.resize(8, ' ');
  return true;
}

// Two ids name the same series when they agree on the characters both variants hold.
bool same_series_id(const std::string& a, const std::string& b) {
  const std::string ta = trim_right(a);
  const std::string tb = trim_right(b);
  const std::size_t n = std::min(ta.size(), tb.size());
  return ta.compare(0, n, tb, 0, n) == 0 && (ta.size() == tb.size() || n >= 4);
}

// The next line that holds an index record, its text records noted; false at the end.
bool next_record(LineReader& in, IndexReading* reading, IndexRecord* r) {
  std::string line;
  while (in.next(&line)) {
    const std::string record = record_columns(line, kRecordColumns);
    if (columns_blank(record, 7, 10)) continue;
    if (parse_index_record(record, r)) return true;
    reading->text_records.push_back(record);
  }
  return false;
}

}  // namespace

IndexReading read_index(std::istream& in, bool keep_depths) {
  IndexReading reading;
  LineReader lines(in);
  IndexRecord r;
  while (next_record(lines, &reading, &r)) {
    TrrwSeries series;
    series.id = r.id;
    series.first_year = r.year;
    series.first_line = lines.line_number();
    int first_slot = first_index_slot(r.year);
    int pending_fillers = 0;
    for (;;) {
      for (int slot = first_slot; slot <= 10; ++slot) {
        const auto k = static_cast<std::size_t>(slot - 1);
        if (r.values[k] > kLargestIndexValue) {
          ++pending_fillers;
          continue;
        }
        // Fillers followed by a value stand for years without a value.
        for (; pending_fillers > 0; --pending_fillers) {
          series.values.push_back(kMissing);
          series.depths.push_back(0);
        }
        series.values.push_back(static_cast<float>(r.values[k]) * 0.001f);
        series.depths.push_back(keep_depths ? r.depths[k] : 0);
      }
      const int expected_year = r.year + (11 - first_slot);
      first_slot = 1;
      std::string line;
      if (!lines.next(&line)) {
        // Fillers ended the series right before the end; otherwise the end cut it.
        if (pending_fillers == 0) {
          reading.cut = CutSeries{series.id, series.first_year, series.first_line};
          return reading;
        }
        break;
      }
      const std::string record = record_columns(line, kRecordColumns);
      IndexRecord next;
      const bool continues = !columns_blank(record, 7, 10) && parse_index_record(record, &next) &&
                             next.year == expected_year && same_series_id(next.id, series.id);
      if (!continues && pending_fillers > 0) {
        lines.step_back();
        break;
      }
      if (!continues) {
        // A record of the series without fillers is followed by its next record.
        lines.step_back();
        if (!next_record(lines, &reading, &next)) {
          reading.cut = CutSeries{series.id, series.first_year, series.first_line};
          return reading;
        }
      }
      r = next;
    }
    series.count = static_cast<int>(series.values.size());
    reading.series.push_back(std::move(series));
  }
  return reading;
}

IndexReading read_index(const std::string& text, bool keep_depths) {
  std::istringstream in(text);
  return read_index(in, keep_depths);
}

}  // namespace kvr::test
