#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace kvr {

/// Outcome of reading one answer.
enum class Answer {
  kOk,
  kEndOfInput,  // standard input ended before an answer came
  kInvalid,     // not an integer where one was asked for
};

/// The console dialogue: prompts and lines on `out`, answers from `in`.
///
/// Answers are free-form items: leading blanks and tabs are skipped; an item ends at a blank,
/// a tab, a comma or a slash unless it is enclosed in apostrophes or double quotes (a doubled
/// quote inside stands for one); a line without any item is skipped. Each answer is read from
/// a line of its own; what follows the item on that line is ignored. A null item (the line's
/// first item is empty: it starts with a comma or a slash) reads as the empty answer. Line
/// ends are LF, CR LF or a lone CR.
class Console {
 public:
  Console(std::istream& in, std::ostream& out);

  std::ostream& out() { return out_; }
  /// Writes `text` and a line end.
  void line(std::string_view text);
  /// Writes `text` without a line end and flushes, so the answer is typed behind it.
  void prompt(std::string_view text);

  /// One free-form item.
  [[nodiscard]] Answer read_item(std::string* item);
  /// A yes/no answer: yes when the item's first character is y or Y, no otherwise.
  [[nodiscard]] Answer read_yes_no(bool* yes);
  /// An integer answer: an optional sign and digits, within the range of int.
  [[nodiscard]] Answer read_int(int* value);
  /// One whole line as typed (the plot menu reads its answer this way).
  [[nodiscard]] Answer read_line(std::string* line);
  /// Waits until the user presses Return.
  [[nodiscard]] Answer pause();

  /// Every line taken from `in` so far, in order and exactly as read, each ended by LF whatever
  /// its own line end was (a last line without one gets one too). Lines skipped while looking
  /// for an item count. Given back as `in`, these lines bring the same answers again.
  const std::string& lines_read() const { return lines_read_; }

 private:
  // The next line of `in`, recorded in lines_read_; false at the end of input.
  bool next_line(std::string* line);

  std::istream& in_;
  std::ostream& out_;
  std::string lines_read_;
};

}  // namespace kvr
