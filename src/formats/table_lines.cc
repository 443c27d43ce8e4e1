#include "formats/table_lines.h"

#include <streambuf>
#include <string_view>

namespace kvr {

bool TableLineReader::next(std::string* line) {
  using Traits = std::streambuf::traits_type;
  line->clear();
  cut_ = false;
  std::streambuf* bytes = in_.rdbuf();
  if (bytes == nullptr) return false;
  if (first_) {
    first_ = false;
    // A mark broken off after one or two bytes is part of the line.
    static constexpr std::string_view kMark = "\xEF\xBB\xBF";
    std::size_t matched = 0;
    while (matched < kMark.size() && bytes->sgetc() == Traits::to_int_type(kMark[matched])) {
      bytes->sbumpc();
      ++matched;
    }
    if (matched < kMark.size()) line->assign(kMark.substr(0, matched));
  }
  if (line->empty() && Traits::eq_int_type(bytes->sgetc(), Traits::eof())) return false;
  for (Traits::int_type c = bytes->sbumpc(); !Traits::eq_int_type(c, Traits::eof());
       c = bytes->sbumpc()) {
    if (c == '\n') break;
    if (c == '\r') {
      if (bytes->sgetc() == '\n') bytes->sbumpc();
      break;
    }
    if (line->size() < kMaxBytes) {
      line->push_back(Traits::to_char_type(c));
    } else {
      cut_ = true;
    }
  }
  ++line_number_;
  return true;
}

}  // namespace kvr
