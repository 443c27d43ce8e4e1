#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace kvr {

/// Lines of a decade-format file. A line ends at LF, CR LF or a lone CR (so CR CR LF gives an
/// empty line); a tab moves to the next multiple of 8 columns (unless kept as it stands). Lines are
/// numbered from 1, one number per physical line. One line can be stepped back.
///
/// A UTF-8 byte-order mark at the very start of the input is dropped. Any other byte, NUL
/// included, is kept as it stands. The reader takes the stream's bytes in blocks, so nothing
/// else may read from the stream while the reader is in use. A line keeps at most kMaxColumns
/// columns (after tab expansion); the rest of a longer line is read and discarded, so a file
/// without line ends cannot exhaust memory. No format the program reads uses columns that far out.
class LineReader {
 public:
  static constexpr std::size_t kMaxColumns = std::size_t{1} << 20;
  /// What a tab becomes: blanks to the next multiple of 8 columns, or a tab as it stands.
  enum class Tabs { kExpand, kKeep };

  explicit LineReader(std::istream& in, Tabs tabs = Tabs::kExpand);

  /// The next line, without its end; false at the end of the file or on a read failure.
  [[nodiscard]] bool next(std::string* line);
  /// Makes the next call of next() return the last line again (with the same line number).
  void step_back();
  /// Number of the line last returned by next().
  int line_number() const;

  /// Before the first next(): the file's first bytes (up to one block of 64 KiB, byte-order
  /// mark included), which stay unread; *whole tells whether they are the whole file.
  std::string_view head(bool* whole);

 private:
  // Refills the block; false at the end of the stream.
  bool fill();

  std::istream& in_;
  char tab_;  // the byte that stops a run of plain bytes: '\t', or '\n' when tabs are kept
  std::unique_ptr<char[]> block_;
  std::size_t position_ = 0;  // next unread byte of block_
  std::size_t end_ = 0;       // bytes held in block_
  bool stream_ended_ = false;
  std::string last_;
  bool replay_ = false;
  bool have_last_ = false;
  bool at_start_ = true;
  int line_number_ = 0;
};

/// The first `width` columns of `line`: cut, or padded with blanks.
std::string record_columns(std::string_view line, std::size_t width);

/// Reads columns first..last (numbered from 1) of `record` as an integer field of formatted
/// input: blanks anywhere are ignored, an all-blank field reads 0, otherwise an optional sign
/// and at least one digit. Columns beyond the end of `record` count as blanks. False when the
/// field holds anything else.
[[nodiscard]] bool read_int_field(std::string_view record, int first, int last, int* value);

}  // namespace kvr
