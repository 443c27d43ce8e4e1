#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace kvr {

/// The lines of a table file with every byte as it stands: in a table a tab separates cells,
/// so its lines cannot go through LineReader, which expands tabs to the columns of decade
/// records. A line ends at LF, CR LF or a lone CR and is numbered from 1; a UTF-8 byte-order
/// mark before the first line is dropped.
///
/// A line longer than kMaxBytes keeps its first kMaxBytes bytes and is marked cut(): the rest
/// is read past, so a file without line ends cannot exhaust memory, and a reader can refuse a
/// row it did not get whole. Bytes are taken from the stream's buffer one by one, so the stream
/// may go on being read after the last line taken.
class TableLineReader {
 public:
  static constexpr std::size_t kMaxBytes = std::size_t{1} << 20;

  explicit TableLineReader(std::istream& in) : in_(in) {}

  /// The next line, without its end; false at the end of the input.
  [[nodiscard]] bool next(std::string* line);
  /// The number of the line last returned.
  int line_number() const { return line_number_; }
  /// True when the line last returned was cut at kMaxBytes.
  bool cut() const { return cut_; }

 private:
  std::istream& in_;
  bool first_ = true;
  bool cut_ = false;
  int line_number_ = 0;
};

}  // namespace kvr
