#include "formats/text_records.h"

#include "common/fixed_format.h"

namespace kvr {
namespace {

constexpr std::size_t kStoredTextColumns = 85;
constexpr int kMaxTextRecords = 25;

// The console shows control characters of a damaged file as '?', so that no escape
// sequence reaches the terminal. The stored title and header lines keep them.
void append_echo(std::string* echo, const std::string& record) {
  for (const char c : record) {
    const auto byte = static_cast<unsigned char>(c);
    *echo += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
  *echo += '\n';
}

}  // namespace

TextRecords::TextRecords(TrrwText* text, std::string* echo, bool first_series)
    : text_(text), echo_(echo) {
  text_->title.assign(kStoredTextColumns, ' ');
  if (first_series) {
    for (std::string& header : text_->header_lines) header.assign(kStoredTextColumns, ' ');
  }
}

bool TextRecords::take(const std::string& record) {
  ++count_;
  if (count_ > kMaxTextRecords) {
    *echo_ += " sbr trrw:  over 25 text lines\n";
    return false;
  }
  const std::string stored = pad_right(record, kStoredTextColumns);
  if (count_ == 1) {
    *echo_ += "\n title of data:\n ";
    text_->title = stored;
  } else {
    *echo_ += ' ';
  }
  append_echo(echo_, record);
  if (count_ <= 3) text_->header_lines[static_cast<std::size_t>(count_ - 1)] = stored;
  return true;
}

}  // namespace kvr
