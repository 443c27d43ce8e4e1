#include "formats/column_view.h"

#include <algorithm>

#include "common/utf8.h"

namespace kvr {

void ColumnView::assign(std::string_view line) {
  // Only a multi-byte character within the first 80 bytes moves a column.
  const std::string_view head = line.substr(0, kColumns);
  by_characters_ = has_non_ascii(head) && is_valid_utf8(line);
  first_wide_ = 0;
  if (!by_characters_) {
    columns_.assign(head);
    columns_.resize(kColumns, ' ');
    return;
  }
  line_.assign(line);
  columns_.clear();
  starts_.clear();
  std::size_t at = 0;
  while (columns_.size() < kColumns && at < line_.size()) {
    const auto lead = static_cast<unsigned char>(line_[at]);
    const std::size_t bytes = utf8_sequence_bytes(lead);
    starts_.push_back(at);
    if (bytes == 1) {
      columns_.push_back(line_[at]);
    } else {
      if (first_wide_ == 0) first_wide_ = static_cast<int>(columns_.size()) + 1;
      columns_.push_back(kWideCharacter);
    }
    at += bytes;
  }
  starts_.push_back(at);
  columns_.resize(kColumns, ' ');
}

std::string ColumnView::text(int first, int last) const {
  const auto width = static_cast<std::size_t>(last - first + 1);
  if (!by_characters_) return columns_.substr(static_cast<std::size_t>(first - 1), width);
  // Columns past the line's end are blanks.
  const std::size_t held = starts_.size() - 1;
  const auto begin = static_cast<std::size_t>(first - 1);
  std::string out;
  if (begin < held) {
    const std::size_t end = std::min(held, begin + width);
    out.assign(line_, starts_[begin], starts_[end] - starts_[begin]);
    out.append(width - (end - begin), ' ');
  } else {
    out.assign(width, ' ');
  }
  return out;
}

}  // namespace kvr
