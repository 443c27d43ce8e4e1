#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

/// The first 80 columns of a line of a decade-format file, one byte per column, blank padded.
///
/// A line that is valid UTF-8 and holds multi-byte characters within its first 80 columns is
/// counted in characters: each such character takes one column, shown in columns() as
/// kWideCharacter (neither a blank, a digit nor a sign, so a field holding one is no number),
/// while text() gives the line's own characters back. Any other line is counted in bytes.
class ColumnView {
 public:
  static constexpr int kColumns = 80;
  static constexpr char kWideCharacter = '\x80';

  void assign(std::string_view line);

  /// The 80 columns; column c (numbered from 1) is columns()[c - 1].
  const std::string& columns() const { return columns_; }
  /// True when the line was counted in characters.
  bool by_characters() const { return by_characters_; }
  /// True when a multi-byte character sits in columns 1..last.
  bool wide_within(int last) const { return first_wide_ > 0 && first_wide_ <= last; }
  /// The line's text of columns first..last, blank padded to last - first + 1 characters.
  std::string text(int first, int last) const;

 private:
  std::string columns_;
  bool by_characters_ = false;
  int first_wide_ = 0;               // column of the first multi-byte character, 0 when none
  std::string line_;                 // the line, kept only when counted in characters
  std::vector<std::size_t> starts_;  // byte offset of each column in line_, and its end
};

}  // namespace kvr
