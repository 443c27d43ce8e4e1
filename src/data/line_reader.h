#pragma once

#include <istream>
#include <string>

namespace kvr {

/// Lines of a decade-format file. A line ends at LF, CR LF or a lone CR; a tab moves to the
/// next multiple of 8 columns. Lines are numbered from 1. One line can be stepped back.
class LineReader {
 public:
  explicit LineReader(std::istream& in);

  /// The next line, without its end; false at the end of the file or on a read failure.
  [[nodiscard]] bool next(std::string* line);
  /// Makes the next call of next() return the last line again.
  void step_back();
  /// Number of the line last returned by next().
  int line_number() const;

 private:
  std::istream& in_;
  std::string last_;
  bool replay_ = false;
  bool have_last_ = false;
  int line_number_ = 0;
};

}  // namespace kvr
