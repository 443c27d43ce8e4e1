#include "formats/index_series_reader.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "formats/decade_format.h"

namespace kvr {
namespace {

constexpr int kRecordColumns = SeriesReadCall::kRecordColumns;

// One index record as read from its columns.
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

// Index record, 80 columns:
//   variant A: 1-6 id, 7-10 year;  B (minus in column 6): 1-5 id, 6-10 year;
//   C (minus in column 5): 1-4 id, 5-10 year;
//   all variants: ten pairs, pair k (k = 1..10) a value of width 4 in columns
//   11+7(k-1) to 14+7(k-1) and a sample depth of width 3 in columns 15+7(k-1) to 17+7(k-1).
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

// Two ids name the same series when they agree on the characters both variants hold
// (compared without their trailing blanks).
bool same_series_id(const std::string& a, const std::string& b) {
  const std::string ta = trim_right(a);
  const std::string tb = trim_right(b);
  const std::size_t n = std::min(ta.size(), tb.size());
  return ta.compare(0, n, tb, 0, n) == 0 && (ta.size() == tb.size() || n >= 4);
}

class IndexSeriesReader {
 public:
  explicit IndexSeriesReader(SeriesReadCall& call)
      : call_(call),
        // A caller passes an id beginning with "******" to read the values without depths.
        keep_depths_(call.series().id.compare(0, 6, "******") != 0) {}

  TrrwStatus read();

 private:
  // The first 80 columns of line_, blank padded, in a buffer kept between lines.
  const std::string& columns_of_line() {
    record_.assign(line_, 0, kRecordColumns);
    record_.resize(kRecordColumns, ' ');
    return record_;
  }
  // Takes the values of one record; fillers are held back until a value follows.
  void take_values(const IndexRecord& r);
  // After a record that ended in fillers: true when the next line continues the series (it
  // is then in *r); otherwise the line is stepped back.
  bool continues(IndexRecord* r);

  SeriesReadCall& call_;
  const bool keep_depths_;
  int records_ = 0;
  int expected_year_ = 0;  // year the next record of the series should carry
  int pending_fillers_ = 0;
  std::string line_;
  std::string record_;
};

TrrwStatus IndexSeriesReader::read() {
  LineReader& in = call_.in();
  TrrwSeries& series = call_.series();
  IndexRecord r;
  bool have_record = false;  // a continuing record already read by continues()
  for (;;) {
    if (!have_record) {
      if (!in.next(&line_)) return call_.end_of_file(records_ > 0);
      const std::string& record = columns_of_line();
      if (series.count == 0 && record[kRecordColumns - 1] == '#') {
        return call_.free_format_series(line_);
      }
      if (columns_blank(record, 7, 10)) continue;
      if (!parse_index_record(record, &r)) {
        if (!call_.text_record(record)) return TrrwStatus::kTooManyTextLines;
        continue;
      }
    }
    have_record = false;

    ++records_;
    if (records_ == 1) {
      series.id = r.id;
      series.first_year = r.year;
      series.first_line = in.line_number();
    }
    take_values(r);
    // Fillers after the last value end the series unless the next record continues it.
    if (pending_fillers_ > 0) {
      if (!continues(&r)) return call_.complete();
      have_record = true;
    }
  }
}

void IndexSeriesReader::take_values(const IndexRecord& r) {
  const int first_slot = records_ == 1 ? first_index_slot(r.year) : 1;
  for (int slot = first_slot; slot <= 10; ++slot) {
    const auto k = static_cast<std::size_t>(slot - 1);
    const int field = r.values[k];
    if (field > kLargestIndexValue) {
      ++pending_fillers_;
      continue;
    }
    // Fillers followed by a value stand for years without a value.
    for (; pending_fillers_ > 0; --pending_fillers_) call_.store(kMissing, 0);
    call_.store(static_cast<float>(field) * 0.001f, keep_depths_ ? r.depths[k] : 0);
  }
  expected_year_ = r.year + (11 - first_slot);
}

bool IndexSeriesReader::continues(IndexRecord* r) {
  LineReader& in = call_.in();
  // Fillers ended the series right before the end of the file.
  if (!in.next(&line_)) return false;
  const std::string& record = columns_of_line();
  IndexRecord next;
  if (!columns_blank(record, 7, 10) && parse_index_record(record, &next) &&
      next.year == expected_year_ && same_series_id(next.id, call_.series().id)) {
    *r = next;
    return true;
  }
  in.step_back();
  return false;
}

}  // namespace

TrrwStatus read_index_series(SeriesReadCall& call) { return IndexSeriesReader(call).read(); }

}  // namespace kvr
