#include "io/line_reader.h"

#include <algorithm>
#include <streambuf>

namespace kvr {

namespace {
constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
}  // namespace

LineReader::LineReader(std::istream& in, Tabs tabs)
    : in_(in), tab_(tabs == Tabs::kExpand ? '\t' : '\n') {}

bool LineReader::fill() {
  if (stream_ended_) return false;
  std::streambuf* buffer = in_.rdbuf();
  if (buffer == nullptr || !in_.good()) {
    stream_ended_ = true;
    return false;
  }
  // Not zeroed: only the bytes read into it are ever looked at.
  if (block_ == nullptr) block_ = std::make_unique_for_overwrite<char[]>(kBlockBytes);
  const std::streamsize got =
      buffer->sgetn(block_.get(), static_cast<std::streamsize>(kBlockBytes));
  if (got <= 0) {
    stream_ended_ = true;
    in_.setstate(std::ios::eofbit);
    return false;
  }
  position_ = 0;
  end_ = static_cast<std::size_t>(got);
  return true;
}

bool LineReader::next(std::string* line) {
  if (replay_) {
    replay_ = false;
    *line = last_;
    return true;
  }
  std::string& text = *line;
  text.clear();
  if (position_ == end_ && !fill()) return false;

  if (at_start_) {
    at_start_ = false;
    // A byte-order mark is no part of the first line's columns; a broken one stays.
    static constexpr char kMark[] = "\xEF\xBB\xBF";
    if (end_ - position_ >= 3 && block_[0] == kMark[0] && block_[1] == kMark[1] &&
        block_[2] == kMark[2]) {
      position_ += 3;
    }
  }

  bool got_any = false;
  for (;;) {
    if (position_ == end_ && !fill()) {
      if (!got_any) return false;
      break;
    }
    // The run of plain bytes up to the next line end or tab.
    const char* begin = block_.get() + position_;
    const char* stop = block_.get() + end_;
    const char* at = begin;
    while (at < stop && *at != '\n' && *at != '\r' && *at != tab_) ++at;
    if (at > begin) {
      got_any = true;
      const auto run = static_cast<std::size_t>(at - begin);
      if (text.size() < kMaxColumns) text.append(begin, std::min(run, kMaxColumns - text.size()));
    }
    position_ += static_cast<std::size_t>(at - begin);
    if (at == stop) continue;

    const char c = *at;
    ++position_;
    got_any = true;
    if (c == '\n') break;
    if (c == '\r') {
      if ((position_ < end_ || fill()) && block_[position_] == '\n') ++position_;
      break;
    }
    if (text.size() < kMaxColumns)
      text.append(std::min(8 - text.size() % 8, kMaxColumns - text.size()), ' ');
  }
  ++line_number_;
  have_last_ = true;
  last_ = text;
  return true;
}

void LineReader::step_back() {
  if (have_last_) replay_ = true;
}

int LineReader::line_number() const { return line_number_; }

std::string_view LineReader::head(bool* whole) {
  if (position_ == end_) fill();
  *whole = stream_ended_ ||
           std::char_traits<char>::eq_int_type(in_.rdbuf()->sgetc(), std::char_traits<char>::eof());
  return std::string_view(block_.get() + position_, end_ - position_);
}

std::string record_columns(std::string_view line, std::size_t width) {
  std::string record(line.substr(0, width));
  record.resize(width, ' ');
  return record;
}

bool read_int_field(std::string_view record, int first, int last, int* value) {
  long long v = 0;
  bool negative = false;
  bool seen_sign = false;
  bool seen_digit = false;
  for (int column = first; column <= last; ++column) {
    const auto at = static_cast<std::size_t>(column - 1);
    if (at >= record.size()) break;
    const char c = record[at];
    if (c == ' ') continue;
    if ((c == '-' || c == '+') && !seen_sign && !seen_digit) {
      seen_sign = true;
      negative = c == '-';
      continue;
    }
    if (c < '0' || c > '9') return false;
    seen_digit = true;
    // Fields are at most a few columns wide; the bound only guards a caller's wide field.
    if (v < 1000000000LL) v = v * 10 + (c - '0');
  }
  if (seen_sign && !seen_digit) return false;
  if (v >= 1000000000LL) return false;
  *value = static_cast<int>(negative ? -v : v);
  return true;
}

}  // namespace kvr
